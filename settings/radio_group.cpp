#include "settings/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 1, 4, 3);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  const int count = static_cast<int>(items.size());
  const int perColumn = columns > 0 ? (count + columns - 1) / columns : count;
  for (int i = 0; i < count; ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    grid->addWidget(button, perColumn > 0 ? i % perColumn : 0, perColumn > 0 ? i / perColumn : 0);
    buttons_.push_back(button);
  }
  connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit ItemIndexChanged(id);
  });
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last button; lift the rule briefly.
  if (QAbstractButton* checked = group_->checkedButton()) {
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
    emit ItemIndexChanged(-1);
  }
}
