#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPainter;
class QWidget;

namespace qv::ui {

// Text colours of the skin: dark text on the screens' light panels, white
// on the frame and the splash artwork, and the dialogs' own.
inline const QColor kScreenText(45, 45, 45);
inline const QColor kArtworkText(255, 255, 255);
inline const QColor kDialogText(35, 42, 52);

// A transparent plain-text label, the one kind of label the skin uses (a
// name from the user's data must never be read as markup).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry = {},
                  const QColor& colour = kScreenText);
// Makes an existing label look like the ones MakeLabel makes.
void StyleLabel(QLabel* label, const QColor& colour = kScreenText);
// Shows `text` word-wrapped in `label` in the largest font, from `font` down
// to 6 points, in which all of it fits the label.
void SetFittedText(QLabel* label, const QString& text, QFont font);

// The background of a window: its artwork from installation folder +
// "/Media/Forms/" when it loaded, else a plain light panel.
void PaintPlainPanel(QPainter& painter, const QRect& rect);

}  // namespace qv::ui
