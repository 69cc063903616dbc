#include "gui/kit/Router.h"

#include <exception>
#include <stdexcept>

namespace qv::ui {

QString ButtonKindName(ButtonKind kind) {
  switch (kind) {
    case ButtonKind::Form: return "FormButton";
    case ButtonKind::Large: return "LargeButton";
    case ButtonKind::Small: return "SmallButton";
    case ButtonKind::Medium: return "MediumButton";
  }
  return {};
}

const QList<RouteRow>& RoutingTable() {
  using K = ButtonKind;
  static const QList<RouteRow> table{
      {K::Form, "frm_Parent", "minimize"},
      {K::Form, "frm_Parent", "close"},
      {K::Form, "frm_Modify", "play"},
      {K::Large, "frm_Home", "checklist_modification"},
      {K::Large, "frm_Home", "checklist_assignments"},
      {K::Large, "frm_Home", "speech_config"},
      {K::Large, "frm_Home", "learning_center"},
      {K::Large, "frm_Home", "launch_fsx"},
      {K::Medium, "frm_Configure", "microphone_setup"},
      {K::Small, "frm_Modify", "cancel"},
      {K::Small, "frm_Modify", "new"},
      {K::Small, "frm_Modify", "load"},
      {K::Small, "frm_Modify", "delete"},
      {K::Small, "frm_Modify", "insert"},
      {K::Small, "frm_Modify", "save"},
      {K::Small, "frm_Assign", "cancel"},
      {K::Small, "frm_Assign", "assign"},
      {K::Small, "frm_Assign", "save"},
      {K::Small, "frm_Configure", "cancel"},
      {K::Small, "frm_Configure", "add_grammar"},
      {K::Small, "frm_Configure", "edit_grammar"},
      {K::Small, "frm_Configure", "delete_grammar"},
      {K::Small, "frm_Configure", "add_readback"},
      {K::Small, "frm_Configure", "edit_readback"},
      {K::Small, "frm_Configure", "delete_readback"},
      {K::Small, "frm_Configure", "play_readback"},
      {K::Small, "frm_Configure", "script"},
      {K::Small, "frm_Configure", "test_grammar"},
      {K::Small, "frm_Configure", "save"},
      {K::Small, "frm_Configure", "compile"},
      {K::Small, "frm_Configure", "pronunciations"},
      {K::Small, "frm_Message", "ok"},
      {K::Small, "frm_Message", "cancel"},
      {K::Small, "frm_Input", "ok"},
      {K::Small, "frm_Input", "cancel"},
      {K::Small, "frm_Script", "cancel"},
      {K::Small, "frm_Script", "save"},
      {K::Small, "frm_Test", "cancel"},
      {K::Small, "frm_Test", "start"},
      {K::Small, "frm_Configure", "rehearse"},
      {K::Small, "frm_Rehearse", "start"},
      {K::Small, "frm_Rehearse", "cancel"},
      {K::Small, "frm_LC", "cancel"},
      {K::Small, "frm_Pronounce", "play"},
      {K::Small, "frm_Pronounce", "reset"},
      {K::Small, "frm_Pronounce", "save"},
      {K::Small, "frm_Pronounce", "cancel"},
  };
  return table;
}

QString Router::Key(ButtonKind kind, const QString& screen, const QString& action) {
  return QString::number(static_cast<int>(kind)) + u'|' + screen + u'|' + action.trimmed().toLower();
}

bool Router::HasRow(ButtonKind kind, const QString& screen, const QString& action) {
  const QString a = action.trimmed().toLower();
  for (const RouteRow& row : RoutingTable())
    if (row.kind == kind && screen == QLatin1String(row.screen) && a == QLatin1String(row.action)) return true;
  return false;
}

void Router::Register(ButtonKind kind, const QString& screen, const QString& action, Handler handler) {
  const QString what = ButtonKindName(kind) + " " + screen + " \"" + action + "\"";
  if (!HasRow(kind, screen, action)) throw std::logic_error(("no routing row for " + what).toStdString());
  if (!handler) throw std::logic_error(("an empty handler for " + what).toStdString());
  const QString key = Key(kind, screen, action);
  if (m_handlers.contains(key)) throw std::logic_error(("a second handler for " + what).toStdString());
  m_handlers.insert(key, std::move(handler));
}

void Router::Unregister(ButtonKind kind, const QString& screen, const QString& action) {
  m_handlers.remove(Key(kind, screen, action));
}

bool Router::Route(ButtonKind kind, const QString& screen, const QString& action) const {
  const auto it = m_handlers.constFind(Key(kind, screen, action));
  if (it == m_handlers.constEnd()) return true;
  // The handler may end its own screen (and with it the registration), so
  // call a copy.
  const Handler handler = *it;
  try {
    handler();
  } catch (const std::exception&) {
    return false;
  } catch (...) {
    return false;
  }
  return true;
}

bool Router::HasHandler(ButtonKind kind, const QString& screen, const QString& action) const {
  return m_handlers.contains(Key(kind, screen, action));
}

QList<RouteRow> Router::RowsWithoutHandler() const {
  QList<RouteRow> rows;
  for (const RouteRow& row : RoutingTable())
    if (!HasHandler(row.kind, QLatin1String(row.screen), QLatin1String(row.action))) rows << row;
  return rows;
}

Routes::~Routes() {
  for (const auto& [kind, action] : std::as_const(m_rows)) m_router.Unregister(kind, m_screen, action);
}

void Routes::Add(ButtonKind kind, const QString& action, Router::Handler handler) {
  m_router.Register(kind, m_screen, action, std::move(handler));
  m_rows.append({kind, action});
}

}  // namespace qv::ui
