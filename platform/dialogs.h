// Message boxes and the file-open dialog behind one seam, so that tests can
// answer them without ever blocking on a modal window.
#pragma once

#include <deque>
#include <string>
#include <vector>

class QWidget;

namespace dialogs {

// One entry of a file-open dialog's filter list, e.g. {"MP3 文件(*.mp3)", "*.mp3"}.
struct FileFilter {
  std::string caption;
  std::string patterns;  // ";"-separated, as in "*.mp3;*.wav"
};

struct OpenFilesRequest {
  std::string caption;
  std::vector<FileFilter> filters;  // first one selected
  bool multiSelect = true;
};

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  virtual void ShowInfo(const std::string& text) = 0;
  virtual bool AskYesNo(const std::string& text) = 0;
  virtual void ShowError(const std::string& text) = 0;
  // Chosen files with full paths in the dialog's order; empty when cancelled.
  virtual std::vector<std::string> GetOpenFileNames(const OpenFilesRequest& request) = 0;
  // Hands a folder, file, web or mailto address to the desktop's opener
  // without waiting for it.
  virtual void OpenWithDesktop(const std::string& url) = 0;
};

// Modal information box with one OK button.
void ShowInfo(const std::string& text);
// Question with Yes and No; true for Yes.
bool AskYesNo(const std::string& text);
// The application's standard error box.
void ShowError(const std::string& text);
std::vector<std::string> GetOpenFileNames(const OpenFilesRequest& request);
// `target` is a local path or an address with a scheme ("https:", "mailto:").
void OpenWithDesktop(const std::string& target);

// Parent window for the real boxes (the main window once it exists).
void SetDialogParent(QWidget* parent);

// Replaces the real boxes (nullptr restores them). The seam is not owned.
void InstallSeam(DialogSeam* seam);

// Converts a filter list to Qt's "Caption (*.a *.b);;..." form.
std::string QtFilterString(const std::vector<FileFilter>& filters);

// A seam that records every box and answers from queues; used by tests.
class RecordingDialogs : public DialogSeam {
 public:
  enum class Kind { Info, Question, Error };
  struct Box {
    Kind kind;
    std::string text;
  };

  RecordingDialogs();  // installs itself
  ~RecordingDialogs() override;  // restores the real boxes
  RecordingDialogs(const RecordingDialogs&) = delete;
  RecordingDialogs& operator=(const RecordingDialogs&) = delete;

  void ShowInfo(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::vector<std::string> GetOpenFileNames(const OpenFilesRequest& request) override;
  void OpenWithDesktop(const std::string& url) override;

  std::vector<Box> boxes;
  std::vector<std::string> opened;  // addresses handed to the desktop's opener
  std::deque<bool> answers;                          // for AskYesNo; No when empty
  std::deque<std::vector<std::string>> fileChoices;  // for GetOpenFileNames; cancel when empty
  std::vector<OpenFilesRequest> fileRequests;

  std::vector<std::string> Texts(Kind kind) const;
};

}  // namespace dialogs
