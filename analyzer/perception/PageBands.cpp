// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PageBands.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace PageBands {

namespace {

// A step of brightness this large between neighbouring pixels is an edge of something drawn.
constexpr int edgeContrast = 32;
// Quiet rows needed between two text rows to cut there, so that no ascender or descender is cut off.
constexpr int minimumGap = 3;
// Bands lower than this are not worth an engine, and the engine may refuse a sliver.
constexpr int minimumBand = 16;

using Bits = std::vector<std::uint64_t>;

struct TextRun
{
    int top = 0;
    int bottom = 0; // exclusive
    int weight = 0;
};

std::vector<Bits> horizontalEdges(const QImage &grey)
{
    const int width = grey.width();
    std::vector<Bits> edges(static_cast<std::size_t>(grey.height()), Bits(static_cast<std::size_t>(width + 63) / 64));
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *row = grey.constScanLine(y);
        Bits &bits = edges[static_cast<std::size_t>(y)];
        for (int x = 0; x + 1 < width; ++x) {
            if (std::abs(row[x + 1] - row[x]) > edgeContrast)
                bits[static_cast<std::size_t>(x) / 64] |= std::uint64_t(1) << (x % 64);
        }
    }
    return edges;
}

// Edges of each row that are not part of a vertical stroke running through it: borders, dividers and panel
// sides continue two rows up and down, text does not.
std::vector<int> textEdges(const std::vector<Bits> &edges)
{
    const int height = static_cast<int>(edges.size());
    std::vector<int> counts(edges.size(), 0);
    for (int y = 0; y < height; ++y) {
        const Bits &row = edges[static_cast<std::size_t>(y)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            // At the page's top and bottom edges only the rows that exist are compared.
            std::uint64_t through = ~std::uint64_t(0);
            for (int d = -2; d <= 2; ++d) {
                const int neighbour = std::clamp(y + d, 0, height - 1);
                if (d != 0 && neighbour != y)
                    through &= edges[static_cast<std::size_t>(neighbour)][i];
            }
            counts[static_cast<std::size_t>(y)] += std::popcount(row[i] & ~through);
        }
    }
    return counts;
}

// Runs of rows with text, each weighted by the most text edges of any of its rows: about the strokes across a
// line whatever the size of its letters, which is what recognising it costs.
std::vector<TextRun> textRuns(const std::vector<int> &counts)
{
    std::vector<TextRun> runs;
    for (int y = 0; y < static_cast<int>(counts.size()); ++y) {
        const int count = counts[static_cast<std::size_t>(y)];
        if (count == 0)
            continue;
        if (runs.empty() || runs.back().bottom < y)
            runs.push_back({y, y + 1, count});
        else {
            runs.back().bottom = y + 1;
            runs.back().weight = std::max(runs.back().weight, count);
        }
    }
    return runs;
}

} // namespace

std::vector<Band> split(const QImage &grey, int count)
{
    const std::vector<Band> whole{{0, grey.height()}};
    if (count <= 1 || grey.isNull() || grey.format() != QImage::Format_Grayscale8)
        return whole;
    const std::vector<TextRun> runs = textRuns(textEdges(horizontalEdges(grey)));
    long long total = 0;
    for (const TextRun &run : runs)
        total += run.weight;
    if (total == 0)
        return whole;

    // Candidate cuts: the middle of each wide enough gap between runs, with the text weight above it.
    std::vector<std::pair<int, long long>> gaps;
    long long above = 0;
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
        above += runs[i].weight;
        if (runs[i + 1].top - runs[i].bottom >= minimumGap)
            gaps.emplace_back((runs[i].bottom + runs[i + 1].top) / 2, above);
    }
    std::vector<Band> bands;
    int top = 0;
    for (int k = 1; k < count; ++k) {
        const double target = static_cast<double>(total) * k / count;
        const auto best = std::min_element(gaps.begin(), gaps.end(), [&](const auto &a, const auto &b) {
            return std::abs(static_cast<double>(a.second) - target) < std::abs(static_cast<double>(b.second) - target);
        });
        // A cut far from the share it should give would only add a band to wait for.
        if (best == gaps.end() || best->first - top < minimumBand || grey.height() - best->first < minimumBand ||
            std::abs(static_cast<double>(best->second) - target) > static_cast<double>(total) / (2.0 * count))
            continue;
        bands.push_back({top, best->first});
        top = best->first;
        gaps.erase(gaps.begin(), best + 1);
    }
    bands.push_back({top, grey.height()});
    return bands;
}

} // namespace PageBands
