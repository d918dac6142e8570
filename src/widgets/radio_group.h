// A titled group of radio buttons that is read and set by the position of the
// chosen item, as the settings windows store it (0, 1, ...; -1 for none).
//
// The items are the radio buttons placed directly inside the group, in the
// order they were created (the order of the form file). Setting the index
// emits nothing; a click by the operator emits Click.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>

class QRadioButton;

namespace kashidashi {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    int ItemIndex() const;
    // An index outside the items leaves no item chosen.
    void SetItemIndex(int index);
    int ItemCount() const;

  signals:
    void Click();

  protected:
    void childEvent(QChildEvent* event) override;

  private:
    // Takes in the radio buttons added since the last call.
    void Collect() const;
    QButtonGroup* group_;
};

}  // namespace kashidashi
