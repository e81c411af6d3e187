// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KeyValueStore.h"
#include "ModelServerDouble.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Runs the confined probe with `home` as the user's home; the model double answers from this event loop.
QJsonObject runProbe(const QString &home, const QString &image, quint16 otherPort)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.remove(QStringLiteral("OLLAMA_HOST"));
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(ZENTROPE_CONFINED_PROBE), {image, QString::number(otherPort)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return probe.state() == QProcess::NotRunning; }, 120000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    const QJsonObject report = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    EXPECT_TRUE(report.value(QLatin1String("problems")).toString().isEmpty())
        << report.value(QLatin1String("problems")).toString().toStdString();
    return report;
}

QString attempt(const QJsonObject &report, const char *name)
{
    return report.value(QLatin1String("attempts")).toObject().value(QLatin1String(name)).toString();
}
} // namespace

// The probe confines itself as the service does (same plan from the same settings), tries what confinement must
// refuse, then names a real screenshot through the scripted model server. (Naming from the recognised text under
// confinement is what the activation test's real service does.)
TEST(ConfinedAnalyzer, RefusesWritesSecretsProgramsAndOtherPortsYetStillNames)
{
    TempDir home;
    home.write(QStringLiteral(".ssh/id_ed25519"), "secret");
    const QString shot =
        home.write(QStringLiteral("Pictures/Screenshot From 2026-11-12 10-42-17.png"),
                   renderedScreenPng(QStringLiteral("Budget review"),
                                     {QStringLiteral("Spending stayed within the budget agreed in spring."),
                                      QStringLiteral("Please review the figures before Thursday.")}));
    KeyValueStore settings(home.filePath(QStringLiteral(".config/zentrope/settings.json")));
    ModelServerDouble model;
    ModelServerDouble::OllamaModel text;
    text.name = QStringLiteral("qwen3:8b");
    model.serveOllama({text});
    model.setDefault(QStringLiteral("/api/chat"), ModelServerDouble::ollamaAnswer(ModelServerDouble::record(
                                                      QStringLiteral("summary"), QStringLiteral("Budget review"))));
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost));

    settings.setString(QStringLiteral("modelEndpoint"), model.url());
    const QJsonObject named = runProbe(home.path(), shot, other.serverPort());
    const QJsonObject response = named.value(QLatin1String("response")).toObject();
    EXPECT_EQ(response.value(QLatin1String("title")).toString(), QStringLiteral("Budget review"));
    EXPECT_EQ(response.value(QLatin1String("engine")).toString(), QStringLiteral("ai"));
    EXPECT_EQ(attempt(named, "fork") + attempt(named, "execute") + attempt(named, "unixSocket"),
              QStringLiteral("EPERMEPERMEACCES"));

    const int abi = named.value(QLatin1String("landlockAbi")).toInt();
    if (abi == 0)
        GTEST_SKIP() << "this kernel offers no Landlock: refused writes, reads and ports were not checked";
    for (const char *refused : {"writeHome", "writeSettings", "overwriteImage", "readSsh"})
        EXPECT_EQ(attempt(named, refused), QStringLiteral("EACCES")) << refused;
    EXPECT_EQ(attempt(named, "readSettings"), QStringLiteral("succeeded"));
    if (abi < 4)
        GTEST_SKIP() << "Landlock ABI " << abi << " has no TCP rules: ports were not checked";
    for (const char *refused : {"connectOther", "bind"})
        EXPECT_EQ(attempt(named, refused), QStringLiteral("EACCES")) << refused;
}
