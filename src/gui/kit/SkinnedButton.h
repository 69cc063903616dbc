#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "gui/kit/Router.h"

namespace qv::ui {

class cls_Tooltip;

// The picture area of a skinned button: shows the whole bitmap strip and is
// moved up inside the button so that only the band of the current state shows.
class StripView final : public QWidget {
 public:
  explicit StripView(QWidget* parent);
  void setStrip(const QPixmap& strip);
  const QPixmap& strip() const { return m_strip; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_strip;
};

// A bitmap-skinned button. Every user action is the release of one of these:
// the release routes (hosting screen name, action key) through the router.
class SkinnedButton : public QWidget {
  Q_OBJECT  // findChildren<SkinnedButton*> needs the type's own meta-object

      public : static constexpr const char* kEnabled = "enabled";
  static constexpr const char* kHighlight = "highlight";
  static constexpr const char* kDown = "down";
  static constexpr const char* kDisabled = "disabled";

  ~SkinnedButton() override;

  ButtonKind kind() const { return m_kind; }
  static QSize KindSize(ButtonKind kind);
  int bandHeight() const { return KindSize(m_kind).height(); }

  // Where pictures are found and where releases go; set by the hosting screen.
  void setInstallDir(const QString& dir) { m_installDir = dir; }
  void setRouter(Router* router) { m_router = router; }

  QString ToolTip() const { return m_toolTip; }
  void SetToolTip(const QString& text);
  QString picture() const { return m_picture; }
  void setPicture(const QString& name);
  QString state() const { return m_state; }
  void setState(const QString& state);
  QWidget* form_name() const { return m_form; }
  void setFormName(QWidget* screen) { m_form = screen; }
  QString button_type() const { return m_type; }
  void setButtonType(const QString& type);

  // The words assistive tools read for the button (see ButtonName), unless
  // an accessible name was set on it.
  QString caption() const;
  // The release handling with the left button, as if clicked: the keyboard
  // and assistive tools press through it.
  void Press() { Release(Qt::LeftButton); }

  // Dialog buttons light up while they hold the keyboard focus.
  void setFollowsFocus(bool on) { m_followsFocus = on; }
  // The focus ring shows unless the focus came with a click.
  bool showsFocus() const { return m_showsFocus; }

  void click_event();
  void end_sub_class();
  void refresh_controls(QWidget* screen);

  // Test and layout helpers.
  StripView* picBG() const { return m_pic; }
  bool hasPicture() const { return m_hasPicture; }
  bool tracking() const { return m_tracking; }
  int visibleBand() const { return m_band; }
  cls_Tooltip* tooltip() const { return m_tip; }

  static int BandOf(const QString& state);  // -1 for a name outside the four

 protected:
  SkinnedButton(ButtonKind kind, QWidget* parent);

  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  void Release(Qt::MouseButton button);
  virtual QString AfterActionState(bool succeeded) const;

 private:
  void Move();
  void Leave();
  void Down();
  void SetBackground(const QColor& colour);
  void ShowBand();
  QPixmap FallbackStrip() const;
  void Announce(int accessibleEvent);

  ButtonKind m_kind;
  QString m_installDir;
  Router* m_router = nullptr;
  StripView* m_pic;
  cls_Tooltip* m_tip = nullptr;
  QString m_toolTip, m_picture, m_state = kEnabled, m_type;
  QPointer<QWidget> m_form;
  bool m_tracking = false;
  bool m_hasPicture = false;
  bool m_subclassed = true;
  bool m_followsFocus = false;
  bool m_showsFocus = true;
  int m_band = 0;
};

class FormButton final : public SkinnedButton {
 public:
  explicit FormButton(QWidget* parent = nullptr);
};

class LargeButton final : public SkinnedButton {
 public:
  explicit LargeButton(QWidget* parent = nullptr);
};

class MediumButton final : public SkinnedButton {
 public:
  explicit MediumButton(QWidget* parent = nullptr);
};

class SmallButton final : public SkinnedButton {
 public:
  explicit SmallButton(QWidget* parent = nullptr);
  // The release handling with the left button, as if clicked (Enter in the
  // input dialog).
  void button_pressed();

 protected:
  QString AfterActionState(bool succeeded) const override;
};

// Caption drawn when a strip bitmap is missing, from the picture's name:
// "btn_ParentOK" -> "OK", "btn_ChecklistAssignments" -> "Checklist Assignments".
QString FallbackCaption(const QString& picture);

// The name of a button for assistive tools: the words of its action key
// ("add_grammar" -> "Add Grammar"), unless its picture shows other words
// (the frame's "cancel" button shows "Home" or "Return"): what the user sees
// is what is read. A button with neither is named after its object name.
QString ButtonName(const QString& action, const QString& picture, const QString& objectName = QString());

// Creates a button of kind T on `parent` with the usual properties.
struct ButtonSetup {
  QString name;
  int left = 0, top = 0;
  QString type, picture, state = "enabled", toolTip;
  QWidget* form = nullptr;
  bool visible = true;
};

template <class T>
T* MakeButton(QWidget* parent, const QString& installDir, Router* router, const ButtonSetup& s) {
  auto* b = new T(parent);
  b->setObjectName(s.name);
  b->setInstallDir(installDir);
  b->setRouter(router);
  b->move(s.left, s.top);
  b->setButtonType(s.type);
  b->setFormName(s.form ? s.form : parent);
  b->setPicture(s.picture);
  b->setState(s.state);
  if (!s.toolTip.isEmpty()) b->SetToolTip(s.toolTip);
  b->setVisible(s.visible);
  return b;
}

}  // namespace qv::ui
