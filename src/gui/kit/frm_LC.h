#pragma once

#include <QLabel>
#include <QList>
#include <QTextBrowser>
#include <QTreeWidget>

#include "gui/kit/SkinnedScreen.h"

namespace qv::ui {

// The learning center: help topics on the left, the topic's page on the right.
class frm_LC final : public SkinnedScreen {
 public:
  struct Topic {
    const char* title;
    const char* key;
    const char* parent;  // nullptr at the top level
    int image;           // 1 closed book, 2 open book, 3 to 5 pages
  };
  static const QList<Topic>& Topics();

  // installation folder + "/Help/" + the key without any "KEY_" (any case) + ".htm".
  static QString PagePath(const QString& installDir, const QString& key);

  frm_LC(const ScreenServices& services, ScreenHost& host);

  QTreeWidget* helpTV() const { return m_tree; }
  QTextBrowser* WebBrowser2() const { return m_browser; }
  QLabel* lblTitle() const { return m_title; }
  QTreeWidgetItem* item(const QString& key) const;

  void TopicClicked(QTreeWidgetItem* item);

  static constexpr int kKeyRole = Qt::UserRole;
  static constexpr int kImageRole = Qt::UserRole + 1;

 private:
  void SetImage(QTreeWidgetItem* item, int image);
  void Navigate(const QString& page);

  QLabel* m_title;
  QTreeWidget* m_tree;
  QTextBrowser* m_browser;
  QList<QIcon> m_images;  // index 0 = image 1
};

}  // namespace qv::ui
