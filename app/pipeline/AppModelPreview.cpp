// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "FileNameBuilder.h"
#include "L10n.h"
#include "ScreenshotDetector.h"

#include <QFileInfo>
#include <QLocale>
#include <QPointer>

QCoro::Task<AppModel::PreviewOutcome> AppModel::preview(QString path)
{
    QPointer<AppModel> self(this);
    co_await syncAvailability(true);
    if (!self)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QString::fromLatin1("Cancelled"), false};
    const NamingOptions naming = m_settings.naming();
    AnalyzeRequest request;
    request.nameLanguage = naming.language;
    request.interfaceCode = L10n::code();
    request.ocrFallback = m_settings.ocrFallback();

    const AnalyzeResult result = co_await m_analyzer->analyze(path, request);
    if (!self)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QString::fromLatin1("Cancelled"), false};
    if (const auto *failure = std::get_if<AnalyzerFailure>(&result))
        co_return *failure;
    const AnalyzeResponse &response = std::get<AnalyzeResponse>(result);
    if (response.errorCode)
        co_return AnalyzerFailure{*response.errorCode, response.errorMessage.value_or(L("error.nothingRecognized")),
                                  false};
    const QString title = response.title.value_or(QString());
    const QDateTime date = ScreenshotDetector::creationDate(path).value_or(now());
    QString name = FileNameBuilder::base(title, date, naming, QLocale(L10n::code())).value_or(title);
    const QString extension = QFileInfo(path).suffix();
    if (!extension.isEmpty())
        name += QLatin1Char('.') + extension;
    co_return PreviewResult{name, response};
}
