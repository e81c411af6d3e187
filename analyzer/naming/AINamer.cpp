// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AINamer.h"

#include "AnswerCleanup.h"
#include "Grounding.h"
#include "ModelProbe.h"
#include "NamingLanguage.h"
#include "NamingText.h"
#include "OnDeviceTranslator.h"

#include <QSet>

namespace {

QString joinedInstructions(const QStringList &lines, const QString &language, const QString &closing)
{
    return lines.join(u'\n') + NamingLanguage::englishName(language) + closing;
}

} // namespace

// Everything one suggest call decides once and its steps share.
struct AINamer::Call
{
    ModelStatus status;
    ScreenshotFeatures features;
    QString wanted;
    QString output;
    std::optional<QString> appName;
    std::optional<QString> cleanApp;
    ModelDeadline deadline;
};

AINamer::AINamer(ModelEnvironment environment)
    : m_environment(std::move(environment))
{}

QString AINamer::instructions(const QString &outputLanguage)
{
    static const QStringList lines = {
        u"You describe screenshots so that their files can be named. You get the name of the app that was in front "
        u"(when known) and the text recognized on the screen, in any language. Read all of the text and say in 3 to 5 "
        u"words what the screen as a whole shows."_qs,
        u"Rules:"_qs,
        u"- Summarize the whole screen. Do not copy the first line or any single line."_qs,
        u"- Use only what is in the text. Never add a subject that is not there."_qs,
        u"- Do not repeat the app name. No dates, times, numbers of files, quotes or emoji."_qs,
        u"- Never include personal data: email addresses, phone numbers, card numbers, passwords."_qs,
        u"- Answer in "_qs,
    };
    return joinedInstructions(lines, outputLanguage, u", with the summary only."_qs);
}

QString AINamer::visionInstructions(const QString &outputLanguage)
{
    static const QStringList lines = {
        u"You name screenshot files. You get the screenshot itself, the name of the app that was in front (when known) "
        u"and the text recognized on the screenshot, in any language. Say what the screenshot shows in 3 to 6 words, "
        u"the way a person would name the file."_qs,
        u"Rules:"_qs,
        u"- Name the specific subject, not the kind of interface."_qs,
        u"- Take names and wording from the recognized text. Never add a subject that is neither in the picture nor "
        u"in the text."_qs,
        u"- Do not repeat the app name. No dates, times, quotes or emoji."_qs,
        u"- Never include personal data: email addresses, phone numbers, card numbers, passwords."_qs,
        u"- Answer in "_qs,
    };
    return joinedInstructions(lines, outputLanguage, u", with the name only."_qs);
}

QString AINamer::prompt(const ScreenshotFeatures &features, const std::optional<QString> &app, int budget)
{
    QString text;
    if (app)
        text += u"App in front when the screenshot was taken: "_qs + *app + u'\n';
    if (!features.labels.isEmpty())
        text += u"Image labels: "_qs + features.labels.join(u", "_qs) + u'\n';
    text += u"Text recognized on the screen, top to bottom:\n"_qs;
    text += features.condensedText(budget);
    text += u"\nDescribe this screenshot."_qs;
    return text;
}

QString AINamer::picturePrompt(const ScreenshotFeatures &features, const std::optional<QString> &app, int textBudget,
                               bool strict)
{
    QString text;
    if (app)
        text += u"App in front when the screenshot was taken: "_qs + *app + u'\n';
    if (textBudget >= 1 && !features.lines.empty())
        text += u"Text recognized on the screenshot:\n"_qs + features.condensedText(textBudget) + u'\n';
    text += u"Name this screenshot."_qs;
    if (strict)
        text += u" Use words that are written in the recognized text."_qs;
    return text;
}

const ModelAnswerFormat &AINamer::summaryFormat()
{
    static const ModelAnswerFormat format{
        u"ScreenSummary"_qs, u"summary"_qs,
        u"What is shown on the screen as a whole, in 3 to 5 words. A summary of the entire content, never a copy of "
        u"a single line."_qs};
    return format;
}

const ModelAnswerFormat &AINamer::nameFormat()
{
    static const ModelAnswerFormat format{u"ScreenshotName"_qs, u"name"_qs,
                                          u"What the screenshot shows, in 3 to 6 words."_qs};
    return format;
}

std::optional<QString> AINamer::cleanAppName(const std::optional<QString> &appName)
{
    if (!appName)
        return std::nullopt;
    const QString name = appName->trimmed();
    // The system's own chrome is in front of many screenshots and says nothing about them.
    static const QSet<QString> ignored = {u"loginwindow"_qs,    u"screencaptureui"_qs,     u"screenshot"_qs, u"dock"_qs,
                                          u"control center"_qs, u"notification center"_qs, u"spotlight"_qs};
    if (NamingText::length(name) < 2 || ignored.contains(name.toLower()))
        return std::nullopt;
    return name;
}

QString AINamer::withAppPrefix(const QString &title, const std::optional<QString> &cleanApp)
{
    if (!cleanApp)
        return title;
    const QStringList titleWords = NamingText::letterDigitRuns(NamingText::normalised(title));
    const QStringList appWords = NamingText::letterDigitRuns(NamingText::normalised(*cleanApp));
    const bool mentioned =
        std::any_of(appWords.begin(), appWords.end(), [&](const QString &word) { return titleWords.contains(word); });
    return mentioned ? title : *cleanApp + u' ' + title;
}

AINamer::Failure AINamer::classify(const ModelError &error)
{
    switch (error.kind()) {
    case ModelError::Kind::busy:
        return {Failure::Kind::busy, error.message()};
    case ModelError::Kind::contextTooLong:
        return {Failure::Kind::contextTooLong, error.message()};
    case ModelError::Kind::refused:
        return {Failure::Kind::refused, error.message()};
    case ModelError::Kind::other:
        break;
    }
    return {Failure::Kind::other, error.message()};
}

std::optional<QString> AINamer::warmLanguage() const
{
    if (!m_warmSession)
        return std::nullopt;
    return m_warmSession->first;
}

ModelSession AINamer::session(const ModelStatus &status, const QString &language, bool picture) const
{
    return ModelSession(status, picture ? visionInstructions(language) : instructions(language), m_environment);
}

namespace {
// A session warmed for another model (the user switched since) would send the request to the wrong one.
bool sameModel(const ModelStatus &a, const ModelStatus &b)
{
    return a.model == b.model && a.endpoint == b.endpoint && a.modelHasVision() == b.modelHasVision();
}
} // namespace

ModelSession AINamer::takeSession(const ModelStatus &status, const QString &language)
{
    // A session warmed for another language stays for the screenshot that wants it.
    if (m_warmSession && m_warmSession->first == language && sameModel(m_warmSession->second.status(), status))
        return std::exchange(m_warmSession, std::nullopt)->second;
    return session(status, language, status.modelHasVision());
}

QCoro::Task<void> AINamer::prewarm(QString outputLanguage)
{
    const ModelStatus status = co_await ModelProbe::read(m_environment);
    if (!status.isAvailable())
        co_return;
    const QString code = status.supports(outputLanguage) ? outputLanguage : u"en"_qs;
    if (m_warmSession && m_warmSession->first == code && sameModel(m_warmSession->second.status(), status))
        co_return;
    // Kept before the load finishes: a call that comes meanwhile takes it and waits for the load on the server.
    const ModelSession warm = session(status, code, status.modelHasVision());
    m_warmSession.emplace(code, warm);
    // A failed warm-up costs nothing more than a cold start; the first request reports any real problem.
    (void)co_await warm.prewarm(ModelDeadline::after(m_environment.loadTimeout));
}

QCoro::Task<AINamerResult> AINamer::suggest(ModelStatus status, ScreenshotFeatures features, ModelImage picture,
                                            NameLanguage nameLanguage, QString interfaceCode,
                                            std::optional<QString> appName, ModelDeadline deadline)
{
    const FifoLock::Guard guard = co_await m_lock.acquire();
    if (!status.isAvailable())
        co_return AINamerError::unavailable(status.availability);
    if (!status.modelHasVision())
        picture = ModelImage();
    if (picture.isNull() && !features.hasMeaningfulText())
        co_return AINamerError::of(AINamerError::Case::nothingToDescribe);

    Call call{status, std::move(features), {}, {}, appName, cleanAppName(appName), deadline};
    call.wanted = NamingLanguage::wanted(nameLanguage, call.features, interfaceCode, status);
    call.output = NamingLanguage::output(call.wanted, status);

    // GCC 12 destroys the result of a co_await inside a conditional expression too early; keep them apart.
    Attempt attempt;
    if (picture.isNull())
        attempt = co_await nameFromText(call);
    else
        attempt = co_await nameFromPicture(call, picture);
    if (const auto *error = std::get_if<AINamerError>(&attempt))
        co_return *error;

    AINameResult result = co_await inWantedLanguage(call, std::get<QString>(attempt));
    result.title = withAppPrefix(result.title, call.cleanApp);
    co_return result;
}

QCoro::Task<AINamer::Attempt> AINamer::nameFromText(const Call &call)
{
    // With vision the warm session carries the picture instructions, so text mode starts a session of its own.
    const auto textSession = [&] {
        return call.status.modelHasVision() ? session(call.status, call.output, false)
                                            : takeSession(call.status, call.output);
    };

    int budget = textBudget;
    ModelAnswer answer =
        co_await textSession().respond(prompt(call.features, call.cleanApp, budget), summaryFormat(), call.deadline);
    if (!answer.ok()) {
        const Failure failure = classify(*answer.error);
        switch (failure.kind) {
        case Failure::Kind::busy:
            co_return AINamerError::busy(failure.message);
        case Failure::Kind::contextTooLong:
            budget = reducedTextBudget;
            answer = co_await textSession().respond(prompt(call.features, call.cleanApp, budget), summaryFormat(),
                                                    call.deadline);
            if (!answer.ok()) {
                // A busy model stays busy, so the file is tried again later instead of failing for good.
                if (answer.error->kind() == ModelError::Kind::busy)
                    co_return AINamerError::busy(answer.error->message());
                co_return AINamerError::model(*answer.error);
            }
            break;
        case Failure::Kind::other:
        case Failure::Kind::refused:
            co_return AINamerError::generation(failure.message);
        }
    }

    const QString first = AnswerCleanup::tidy(answer.text);
    if (first.isEmpty())
        co_return AINamerError::of(AINamerError::Case::emptyAnswer);
    if (co_await accepted(call, first, false))
        co_return first;

    // The strict retry keeps the budget that fitted the model's context.
    const ModelSession strict = session(call.status, call.output, false);
    const ModelAnswer retry = co_await strict.respond(prompt(call.features, call.cleanApp, budget) +
                                                          u" Use only words that are written in the text above."_qs,
                                                      summaryFormat(), call.deadline);
    const QString second = retry.ok() ? AnswerCleanup::tidy(retry.text) : QString();
    if (!second.isEmpty() && co_await accepted(call, second, false))
        co_return second;
    co_return AINamerError::of(AINamerError::Case::ungrounded);
}

QCoro::Task<AINamer::Attempt> AINamer::nameFromPicture(const Call &call, const ModelImage &picture)
{
    struct Step
    {
        int budget;
        bool strict;
    };
    QList<Step> steps;
    if (!call.features.lines.empty())
        steps = {{900, false}, {400, true}, {0, false}};
    else
        steps = {{0, false}};

    AINamerError lastError = AINamerError::of(AINamerError::Case::emptyAnswer);
    bool sawUngrounded = false;
    for (const Step &step : steps) {
        const ModelSession attemptSession = (!step.strict && step.budget >= 1)
                                                ? takeSession(call.status, call.output)
                                                : session(call.status, call.output, true);
        const ModelAnswer answer =
            co_await attemptSession.respond(picturePrompt(call.features, call.cleanApp, step.budget, step.strict),
                                            nameFormat(), call.deadline, picture);
        if (!answer.ok()) {
            if (classify(*answer.error).kind == Failure::Kind::busy)
                co_return AINamerError::busy(answer.error->message());
            lastError = AINamerError::model(*answer.error);
            continue;
        }
        const QString candidate = AnswerCleanup::tidy(answer.text);
        if (candidate.isEmpty()) {
            lastError = AINamerError::of(AINamerError::Case::emptyAnswer);
            continue;
        }
        if (!call.features.hasMeaningfulText() || co_await accepted(call, candidate, true))
            co_return candidate;
        sawUngrounded = true;
    }
    if (sawUngrounded)
        co_return AINamerError::of(AINamerError::Case::ungrounded);
    co_return lastError;
}

QCoro::Task<bool> AINamer::accepted(const Call &call, const QString &candidate, bool pictureMode)
{
    const QStringList sources = {call.features.allText(), call.features.labels.join(u' '),
                                 call.appName.value_or(QString())};
    const QString language = NamingLanguage::actual(candidate, call.output);
    const bool same = !call.features.language || *call.features.language == language;
    const Grounding::Overlap found = Grounding::overlap(candidate, sources);
    const bool grounded =
        pictureMode
            ? found.matched >= 1
            : found.matched >= 1 && (!same || double(found.matched) >= double(found.total) * 0.3333333333333333);
    if (grounded)
        co_return true;

    const std::optional<QString> other = NamingLanguage::other(language, call.features);
    if (!other)
        co_return false;
    // GCC 12 cannot build a braced list inside a co_await expression.
    QStringList texts{candidate};
    const Translation translation = co_await OnDeviceTranslator::translate(std::move(texts), language, *other,
                                                                           call.status, m_environment, call.deadline);
    if (translation.ok() && !translation.texts.value(0).isEmpty())
        co_return Grounding::overlap(translation.texts.first(), sources).matched >= 1;
    // Without a translation, a long screen in another language is trusted: its words cannot be compared.
    co_return !same && call.features.lines.size() >= 8;
}

QCoro::Task<AINameResult> AINamer::inWantedLanguage(const Call &call, const QString &candidate)
{
    const QString language = NamingLanguage::actual(candidate, call.output);
    if (language == call.wanted)
        co_return AINameResult{candidate, call.wanted, false};

    QStringList texts{candidate};
    const Translation translation = co_await OnDeviceTranslator::translate(std::move(texts), language, call.wanted,
                                                                           call.status, m_environment, call.deadline);
    const QString translated = translation.ok() ? translation.texts.value(0) : QString();
    if (translated.isEmpty())
        co_return AINameResult{candidate, language, true};

    if (call.features.language == call.wanted) {
        QList<std::pair<QString, QString>> pairs;
        for (const ScreenshotFeatures::Line &line : call.features.standaloneLines())
            pairs.append({line.text, line.text});
        if (const std::optional<QString> wording = Grounding::originalWording(translated, pairs, 8))
            co_return AINameResult{*wording, call.wanted, false};
    }
    co_return AINameResult{translated, call.wanted, false};
}
