#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

namespace qv::ui {

enum class ButtonKind { Form, Large, Small, Medium };

QString ButtonKindName(ButtonKind kind);

// One row of the routing table: a button kind, the name of the screen that
// hosts the button and the action key of the button.
struct RouteRow {
  ButtonKind kind;
  const char* screen;
  const char* action;
};

// Every action a button release can reach. A pair not listed does nothing.
const QList<RouteRow>& RoutingTable();

// Routes a button release to the handler its screen registered for the row.
// Screens register against the table; a registration for a pair the table
// does not list is refused, so the table stays the one list of actions.
class Router {
 public:
  using Handler = std::function<void()>;

  // Later registrations replace earlier ones (a real screen replaces its
  // placeholder). Returns false when the row does not exist.
  bool Register(ButtonKind kind, const QString& screen, const QString& action, Handler handler);

  // Screen names compare exactly, action keys trimmed and lower-cased.
  // Returns false when the handler failed (threw); a pair without a row or
  // without a handler does nothing and counts as done.
  bool Route(ButtonKind kind, const QString& screen, const QString& action) const;

  bool HasHandler(ButtonKind kind, const QString& screen, const QString& action) const;
  QList<RouteRow> RowsWithoutHandler() const;

  static bool HasRow(ButtonKind kind, const QString& screen, const QString& action);

 private:
  static QString Key(ButtonKind kind, const QString& screen, const QString& action);
  QHash<QString, Handler> m_handlers;
};

}  // namespace qv::ui
