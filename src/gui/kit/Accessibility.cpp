#include "gui/kit/Accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>

#include "gui/kit/SkinnedButton.h"

namespace qv::ui {

namespace {

// The button as one leaf: its picture strip and tooltip are drawing, not
// content, and stay out of the tree.
class ButtonInterface final : public QAccessibleWidget {
 public:
  explicit ButtonInterface(SkinnedButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString set = widget()->accessibleName();
      return set.isEmpty() ? button()->caption() : set;
    }
    if (t == QAccessible::Description) {
      const QString set = widget()->accessibleDescription();
      return set.isEmpty() ? button()->ToolTip() : set;
    }
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const int band = SkinnedButton::BandOf(button()->state());
    if (band == SkinnedButton::BandOf(SkinnedButton::kDisabled)) s.disabled = true;
    if (band == SkinnedButton::BandOf(SkinnedButton::kDown)) s.pressed = true;
    return s;
  }

  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QStringList actionNames() const override {
    QStringList names{pressAction()};
    for (const QString& n : QAccessibleWidget::actionNames())
      if (!names.contains(n)) names << n;
    return names;
  }
  void doAction(const QString& action) override {
    // Pressed once the caller has its answer: the action may open a modal
    // dialog, which would keep the answer back until the dialog closed.
    if (action == pressAction())
      QMetaObject::invokeMethod(button(), [b = button()] { b->Press(); }, Qt::QueuedConnection);
    else
      QAccessibleWidget::doAction(action);
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    if (action == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(action);
  }

 private:
  SkinnedButton* button() const { return static_cast<SkinnedButton*>(object()); }
};

QAccessibleInterface* ButtonFactory(const QString&, QObject* object) {
  if (auto* button = qobject_cast<SkinnedButton*>(object)) return new ButtonInterface(button);
  return nullptr;
}

}  // namespace

void InstallButtonAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&ButtonFactory);
    return true;
  }();
  (void)installed;
}

void NameFieldsByCaptions(QWidget* root) {
  const QList<QLabel*> labels = root->findChildren<QLabel*>();
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || qobject_cast<SkinnedButton*>(w) || !w->accessibleName().isEmpty())
      continue;
    if (w->parentWidget() != root && w->parentWidget()->focusPolicy() != Qt::NoFocus) continue;  // part of a control
    auto* box = qobject_cast<QAbstractButton*>(w);
    if (box && !box->text().isEmpty()) continue;
    const QRect g = w->geometry();
    for (QLabel* label : labels) {
      const QRect c = label->geometry();
      if (label->parentWidget() != w->parentWidget() || label->text().trimmed().isEmpty()) continue;
      const bool above = c.bottom() >= g.top() - 10 && c.bottom() <= g.top() + 2 && qAbs(c.left() - g.left()) <= 6;
      const bool beside = box && c.left() >= g.right() && c.left() <= g.right() + 30 && c.top() < g.bottom() &&
                          c.bottom() > g.top();
      if (above || beside) {
        w->setAccessibleName(label->text().trimmed());
        break;
      }
    }
  }
}

void SetTabChain(const QList<QWidget*>& widgets) {
  for (qsizetype i = 1; i < widgets.size(); ++i) QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

}  // namespace qv::ui
