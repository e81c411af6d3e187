// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ScreenLayout.h"

#include <algorithm>
#include <cmath>

namespace ScreenLayout {

namespace {

constexpr int binCount = 200;
constexpr double wideLine = 0.6;
constexpr double sameRow = 0.008;

bool readsBefore(const Line &a, const Line &b)
{
    const double d = std::abs(a.top - b.top);
    return d < sameRow ? a.left < b.left : a.top < b.top;
}

int clampBin(double x)
{
    return std::clamp(static_cast<int>(std::floor(x * binCount)), 0, binCount - 1);
}

std::vector<double> candidateGutters(const std::vector<Line> &lines)
{
    std::vector<int> bins(binCount, 0);
    for (const Line &line : lines) {
        if (line.width >= wideLine) {
            continue;
        }
        const int start = clampBin(line.left);
        const int end = std::max(start, clampBin(line.left + line.width));
        for (int i = start; i <= end; ++i) {
            ++bins[i];
        }
    }
    std::vector<double> gutters;
    int runStart = -1;
    for (int i = 0; i < binCount; ++i) {
        if (bins[i] == 0) {
            if (runStart < 0) {
                runStart = i;
            }
            continue;
        }
        if (runStart > 0 && i - runStart > 2) {
            gutters.push_back((runStart + i) / 2.0 / binCount);
        }
        runStart = -1;
    }
    return gutters;
}

bool rowAligned(const Line &r, const Line &l)
{
    const double tol = 0.35 * std::min(r.height, l.height);
    const double d = std::abs(l.top - r.top);
    return d < tol || (tol < 0.004 && d < 0.004);
}

// A gutter is real when both sides hold enough lines and the sides are not cells of the same table rows.
bool acceptGutter(const std::vector<Line> &lines, double x)
{
    std::vector<const Line *> left;
    std::vector<const Line *> right;
    for (const Line &line : lines) {
        (anchor(line) < x ? left : right).push_back(&line);
    }
    if (left.size() < 3 || right.size() < 3) {
        return false;
    }
    const auto aligned = std::count_if(right.begin(), right.end(), [&left](const Line *r) {
        return std::any_of(left.begin(), left.end(), [r](const Line *l) { return rowAligned(*r, *l); });
    });
    return static_cast<double>(aligned) <= 0.6 * static_cast<double>(std::min(left.size(), right.size()));
}

} // namespace

double anchor(const Line &line)
{
    return line.width < wideLine ? line.left + line.width / 2 : line.left;
}

void sortInRowOrder(std::vector<Line> &lines)
{
    // Row order is not transitive (nearly-same rows chain), which standard sorts may not be given;
    // an insertion sort stays stable and well-defined for any comparison.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        Line current = std::move(lines[i]);
        std::size_t j = i;
        while (j > 0 && readsBefore(current, lines[j - 1])) {
            lines[j] = std::move(lines[j - 1]);
            --j;
        }
        lines[j] = std::move(current);
    }
}

std::vector<Column> columns(const std::vector<Line> &lines)
{
    const auto single = [&lines] {
        Column column = lines;
        sortInRowOrder(column);
        return std::vector<Column>{std::move(column)};
    };
    if (lines.size() < 8 || std::any_of(lines.begin(), lines.end(), [](const Line &l) { return l.width <= 0; })) {
        return single();
    }
    std::vector<double> gutters;
    for (const double x : candidateGutters(lines)) {
        if (acceptGutter(lines, x)) {
            gutters.push_back(x);
        }
    }
    if (gutters.empty()) {
        return single();
    }
    std::vector<Column> buckets(gutters.size() + 1);
    for (const Line &line : lines) {
        const double a = anchor(line);
        const auto gutter = std::find_if(gutters.begin(), gutters.end(), [a](double g) { return a < g; });
        buckets[static_cast<std::size_t>(gutter - gutters.begin())].push_back(line);
    }
    std::vector<Column> result;
    for (Column &bucket : buckets) {
        if (!bucket.empty()) {
            sortInRowOrder(bucket);
            result.push_back(std::move(bucket));
        }
    }
    return result;
}

ReadingOrder readingOrder(const std::vector<Line> &lines)
{
    std::vector<Column> found = columns(lines);
    if (found.empty()) {
        return {};
    }
    if (found.size() == 1) {
        return {std::move(found.front()), std::nullopt};
    }
    std::size_t main = 0;
    int mostLetters = -1;
    for (std::size_t i = 0; i < found.size(); ++i) {
        int letters = 0;
        for (const Line &line : found[i]) {
            letters += ScreenshotFeatures::letterCount(line.text);
        }
        if (letters > mostLetters) {
            mostLetters = letters;
            main = i;
        }
    }
    ReadingOrder result;
    result.lines = found[main];
    result.mainCount = static_cast<int>(found[main].size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i != main) {
            result.lines.insert(result.lines.end(), found[i].begin(), found[i].end());
        }
    }
    return result;
}

} // namespace ScreenLayout
