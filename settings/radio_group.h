// TRadioGroup: a framed group of radio buttons whose value is the position of
// the chosen one. Entries fill the columns top to bottom, column by column.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

  // Position of the chosen entry; -1 when none is chosen.
  int ItemIndex() const;
  // Chooses the entry at `index`; any other number clears the choice.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

 signals:
  // A different entry was chosen, by the user or by SetItemIndex.
  void ItemIndexChanged(int index);

 private:
  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
};
