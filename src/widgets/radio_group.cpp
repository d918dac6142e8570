#include "widgets/radio_group.h"

#include <QChildEvent>
#include <QRadioButton>

namespace kashidashi {

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit Click(); });
}

void TRadioGroup::childEvent(QChildEvent* event) {
    QGroupBox::childEvent(event);
    // A child is announced before it is fully made; it is known once polished.
    if (event->polished()) Collect();
}

// Items are numbered in creation order, whatever their names.
void TRadioGroup::Collect() const {
    const auto buttons = findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < buttons.size(); ++i)
        if (group_->id(buttons[i]) != i) {
            group_->removeButton(buttons[i]);
            group_->addButton(buttons[i], i);
        }
}

int TRadioGroup::ItemIndex() const {
    Collect();
    return group_->checkedId();
}

int TRadioGroup::ItemCount() const {
    Collect();
    return static_cast<int>(group_->buttons().size());
}

void TRadioGroup::SetItemIndex(int index) {
    Collect();
    if (QAbstractButton* item = group_->button(index)) {
        item->setChecked(true);
        return;
    }
    // An exclusive group keeps one item checked; let go of it for "none".
    group_->setExclusive(false);
    for (QAbstractButton* item : group_->buttons()) item->setChecked(false);
    group_->setExclusive(true);
}

}  // namespace kashidashi
