#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "gui/kit/ButtonKind.h"

namespace qv::ui {

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
// Screens register against the table, each its own rows, and unregister them
// when they go (see Routes).
class Router {
 public:
  using Handler = std::function<void()>;

  // A pair the table does not list, a pair that already has a handler and an
  // empty handler are programming errors: each throws std::logic_error, so
  // that a screen registering the wrong row fails as soon as it is built.
  void Register(ButtonKind kind, const QString& screen, const QString& action, Handler handler);
  void Unregister(ButtonKind kind, const QString& screen, const QString& action);

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

// The rows one owner (a screen, the frame, the dialogs) registered for one
// screen name; they are unregistered when the owner goes.
class Routes {
 public:
  Routes(Router& router, QString screen) : m_router(router), m_screen(std::move(screen)) {}
  ~Routes();
  Routes(const Routes&) = delete;
  Routes& operator=(const Routes&) = delete;

  void Add(ButtonKind kind, const QString& action, Router::Handler handler);

 private:
  Router& m_router;
  QString m_screen;
  QList<QPair<ButtonKind, QString>> m_rows;
};

}  // namespace qv::ui
