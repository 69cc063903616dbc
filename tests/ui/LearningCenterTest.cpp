#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "AppHarness.h"
#include "gui/kit/frm_LC.h"

using namespace qv;

namespace {

void WritePage(const QString& dir, const QString& name, const QString& body) {
  test::WriteBytes(dir + "/Help/" + name, ("<html><body>" + body + "</body></html>").toUtf8());
}

}  // namespace

TEST(LearningCenter, TopicTreeFollowsTheTable) {
  test::AppHarness h;
  auto* lc = h.screen<ui::frm_LC>("frm_LC");
  QTreeWidget* tree = lc->helpTV();
  EXPECT_EQ(tree->topLevelItemCount(), 8);
  for (const ui::frm_LC::Topic& t : ui::frm_LC::Topics()) {
    QTreeWidgetItem* it = lc->item(t.key);
    ASSERT_NE(it, nullptr) << t.key;
    EXPECT_EQ(it->text(0), t.title);
    EXPECT_EQ(it->data(0, ui::frm_LC::kImageRole).toInt(), t.image);
    EXPECT_EQ(it->parent(), t.parent ? lc->item(t.parent) : nullptr) << t.key;
  }
  // Expanding and collapsing only swap the book image.
  QTreeWidgetItem* it = lc->item("KEY_Tutorials");
  it->setExpanded(true);
  EXPECT_EQ(it->data(0, ui::frm_LC::kImageRole).toInt(), 2);
  it->setExpanded(false);
  EXPECT_EQ(it->data(0, ui::frm_LC::kImageRole).toInt(), 1);
  EXPECT_EQ(ui::frm_LC::PagePath("/q", "key_SysReq "), "/q/Help/SysReq.htm");
  EXPECT_EQ(ui::frm_LC::PagePath("/q", "KEY_Key_Tutorials"), "/q/Help/Tutorials.htm");
  EXPECT_EQ(ui::frm_LC::PagePath("/q", "MonKEY_Welcome"), "/q/Help/MonWelcome.htm");
}

TEST(LearningCenter, ClicksShowPagesAndMissingPagesChangeNothing) {
  test::AppHarness h;
  const QString dir = h.install.installDir;
  WritePage(dir, "Welcome.htm", "Welcome aboard <a href=\"SysReq.htm\">requirements</a>");
  WritePage(dir, "Tutorials.htm", "Tutorial list");
  WritePage(dir, "SysReq.htm", "A microphone");
  auto* lc = h.screen<ui::frm_LC>("frm_LC");
  EXPECT_EQ(lc->lblTitle()->text(), "Welcome");
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Welcome aboard"));

  lc->TopicClicked(lc->item("KEY_Tutorials"));  // a topic with children has its own page
  EXPECT_EQ(lc->lblTitle()->text(), "Tutorials");
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Tutorial list"));

  lc->TopicClicked(lc->item("KEY_EULA"));  // no EULA.htm
  EXPECT_EQ(lc->lblTitle()->text(), "Tutorials");
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Tutorial list"));

  // Local links are followed.
  lc->TopicClicked(lc->item("KEY_Welcome"));
  lc->WebBrowser2()->setSource(QUrl("SysReq.htm"));
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("A microphone"));
}
