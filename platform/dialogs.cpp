#include "platform/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace dialogs {
namespace {

QString Title() { return QStringLiteral("Tonvara"); }

class QtDialogs : public DialogSeam {
 public:
  void ShowInfo(const std::string& text) override {
    QMessageBox::information(parent, Title(), QString::fromStdString(text), QMessageBox::Ok);
  }
  bool AskYesNo(const std::string& text) override {
    return QMessageBox::question(parent, Title(), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }
  void ShowError(const std::string& text) override {
    QMessageBox::critical(parent, Title(), QString::fromStdString(text), QMessageBox::Ok);
  }
  std::vector<std::string> GetOpenFileNames(const OpenFilesRequest& request) override {
    const QString filter = QString::fromStdString(QtFilterString(request.filters));
    QString selected = request.filters.empty()
                           ? QString()
                           : filter.section(QStringLiteral(";;"), 0, 0);
    QStringList names;
    if (request.multiSelect) {
      names = QFileDialog::getOpenFileNames(parent, QString::fromStdString(request.caption),
                                            QString(), filter, &selected);
    } else {
      const QString one = QFileDialog::getOpenFileName(
          parent, QString::fromStdString(request.caption), QString(), filter, &selected);
      if (!one.isEmpty()) names << one;
    }
    std::vector<std::string> result;
    for (const QString& n : names) result.push_back(n.toStdString());
    return result;
  }

  void OpenWithDesktop(const std::string& url) override { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

  QPointer<QWidget> parent;
};

QtDialogs& RealDialogs() {
  static QtDialogs real;
  return real;
}

DialogSeam* installed = nullptr;

DialogSeam& Current() { return installed ? *installed : RealDialogs(); }

}  // namespace

void ShowInfo(const std::string& text) { Current().ShowInfo(text); }
bool AskYesNo(const std::string& text) { return Current().AskYesNo(text); }
void ShowError(const std::string& text) { Current().ShowError(text); }
std::vector<std::string> GetOpenFileNames(const OpenFilesRequest& request) {
  return Current().GetOpenFileNames(request);
}

void OpenWithDesktop(const std::string& target) {
  const QString t = QString::fromStdString(target);
  const QUrl url = t.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(t) : QUrl(t);
  Current().OpenWithDesktop(url.toString().toStdString());
}

void SetDialogParent(QWidget* parent) { RealDialogs().parent = parent; }
void InstallSeam(DialogSeam* seam) { installed = seam; }

std::string QtFilterString(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const FileFilter& f : filters) {
    QString patterns = QString::fromStdString(f.patterns);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    parts << QStringLiteral("%1 (%2)").arg(QString::fromStdString(f.caption), patterns);
  }
  return parts.join(QStringLiteral(";;")).toStdString();
}

RecordingDialogs::RecordingDialogs() { InstallSeam(this); }
RecordingDialogs::~RecordingDialogs() { InstallSeam(nullptr); }

void RecordingDialogs::ShowInfo(const std::string& text) { boxes.push_back({Kind::Info, text}); }
bool RecordingDialogs::AskYesNo(const std::string& text) {
  boxes.push_back({Kind::Question, text});
  if (answers.empty()) return false;
  const bool a = answers.front();
  answers.pop_front();
  return a;
}
void RecordingDialogs::ShowError(const std::string& text) { boxes.push_back({Kind::Error, text}); }
std::vector<std::string> RecordingDialogs::GetOpenFileNames(const OpenFilesRequest& request) {
  fileRequests.push_back(request);
  if (fileChoices.empty()) return {};
  auto choice = fileChoices.front();
  fileChoices.pop_front();
  return choice;
}

void RecordingDialogs::OpenWithDesktop(const std::string& url) { opened.push_back(url); }

std::vector<std::string> RecordingDialogs::Texts(Kind kind) const {
  std::vector<std::string> out;
  for (const Box& b : boxes)
    if (b.kind == kind) out.push_back(b.text);
  return out;
}

}  // namespace dialogs
