#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace pellark {
namespace {

struct ProbeResult {
  QProcess::ExitStatus exitStatus;
  int exitCode;
  QString standardError;
};

// Runs the probe, which creates the window system, in the environment given.
ProbeResult RunProbe(const QProcessEnvironment& environment) {
  QProcess probe;
  probe.setProcessEnvironment(environment);
  probe.start(QStringLiteral(PELLARK_DISPLAY_PROBE_PATH), {});
  probe.waitForFinished(20000);
  return {probe.exitStatus(), probe.exitCode(),
          QString::fromLocal8Bit(probe.readAllStandardError())};
}

QProcessEnvironment WithoutDisplay() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) {
    environment.remove(QLatin1String(name));
  }
  return environment;
}

// Both ways of failing give the program's own kind of error line and nothing else.
void ExpectOneLineAndStatusOne(const ProbeResult& result) {
  EXPECT_EQ(result.exitStatus, QProcess::NormalExit);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.standardError.count(QLatin1Char('\n')), 1) << result.standardError.toStdString();
  EXPECT_TRUE(result.standardError.endsWith(QLatin1Char('\n')));
  EXPECT_TRUE(result.standardError.startsWith(QLatin1String("pellark_qt_display_probe: ")));
}

TEST(DisplayErrorTest, NoDisplaySaysSoAndEndsWithStatusOne) {
  const ProbeResult result = RunProbe(WithoutDisplay());
  ExpectOneLineAndStatusOne(result);
  EXPECT_TRUE(result.standardError.contains(QLatin1String("DISPLAY")));
}

TEST(DisplayErrorTest, AnUnreachableDisplaySaysSoAndEndsWithStatusOne) {
  QProcessEnvironment environment = WithoutDisplay();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  // No X server listens on display 97 here.
  environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
  const ProbeResult result = RunProbe(environment);
  ExpectOneLineAndStatusOne(result);
  EXPECT_TRUE(result.standardError.contains(QLatin1String(":97")));
}

TEST(DisplayErrorTest, APlatformWithoutDisplayServerStarts) {
  QProcessEnvironment environment = WithoutDisplay();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const ProbeResult result = RunProbe(environment);
  EXPECT_EQ(result.exitStatus, QProcess::NormalExit);
  EXPECT_EQ(result.exitCode, 0) << result.standardError.toStdString();
}

}  // namespace
}  // namespace pellark
