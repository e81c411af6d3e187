// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QImage>
#include <QString>

#include <vector>

// An image classifier that scores what a picture shows; none is packaged, so it is optional.
class ImageClassifier
{
public:
    struct Observation
    {
        QString identifier;
        double confidence = 0;
    };

    virtual ~ImageClassifier() = default;
    // Must be safe to call from several threads at once; the image is scaled to fit the classifier's input.
    virtual std::vector<Observation> classify(const QImage &image) const = 0;
};
