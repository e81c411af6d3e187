// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QImage>

#include <vector>

// Cuts a page into horizontal bands of about equal text along rows that no text crosses, so that several
// engines can read one screenshot. Tesseract reading its own blocks one by one costs about 1.7 times the work
// of the whole page; bands of whole width keep the cost of the page.
namespace PageBands {

struct Band
{
    int top = 0;
    int bottom = 0; // exclusive

    bool operator==(const Band &) const = default;
};

// At most count bands covering the whole height of a greyscale image, top to bottom. Fewer when no quiet row
// lies near a cut; one band for a page with no text.
std::vector<Band> split(const QImage &grey, int count);

} // namespace PageBands
