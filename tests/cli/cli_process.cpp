#include "tests/cli/cli_process.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QThread>

namespace tonvara::test {

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options) {
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("LC_ALL");
  env.remove("LC_MESSAGES");
  env.insert("LANG", QString::fromStdString(options.lang));
  if (!options.configHome.empty()) env.insert("XDG_CONFIG_HOME", QString::fromStdString(options.configHome.string()));

  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QString::fromUtf8(TONVARA_CLI_PATH), list);
  CliResult result;
  if (!process.waitForStarted(10000)) return result;
  if (options.stopWhen) {
    while (process.state() == QProcess::Running && !options.stopWhen()) QThread::msleep(5);
    process.terminate();
  }
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.out = process.readAllStandardOutput().toStdString();
  result.err = process.readAllStandardError().toStdString();
  if (process.exitStatus() == QProcess::NormalExit) result.code = process.exitCode();
  return result;
}

}  // namespace tonvara::test
