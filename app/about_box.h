// Tfm_about: the about box, shown without blocking the main window.
#pragma once

#include <QDialog>
#include <string>

class QLabel;

class Tfm_about : public QDialog {
  Q_OBJECT
 public:
  // The project's own addresses (placeholders under an example domain).
  static constexpr const char* HomePage = "https://tonvara.example.org";
  static constexpr const char* SalesMail = "sales@tonvara.example.org";
  static constexpr const char* SupportMail = "support@tonvara.example.org";

  explicit Tfm_about(QWidget* parent = nullptr);

  // A click on a link label: the home page or a "mailto:" address through
  // the desktop's opener.
  void LinkClick(const std::string& target);

 private:
  QLabel* AddLink(const QString& text, const std::string& target, int x, int y);
};
