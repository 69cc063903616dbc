#pragma once

#include <QList>

class QWidget;

namespace qv::ui {

// Makes skinned buttons known to assistive tools as push buttons with a
// name, a description (the tooltip), states and a press action. Idempotent;
// the first skinned button built calls it.
void InstallButtonAccessibility();

// Names the unnamed controls of a fixed layout after their caption: the
// label right above a field (sharing its left edge), or the label right
// beside a check box. Buttons carry their own names.
void NameFieldsByCaptions(QWidget* root);

// Sets the keyboard order of `widgets` to the order given (the reading order
// of a fixed layout, which the creation order does not always follow).
void SetTabChain(const QList<QWidget*>& widgets);

}  // namespace qv::ui
