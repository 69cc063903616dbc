#include <gtest/gtest.h>

#include "AppHarness.h"
#include "gui/kit/frm_LC.h"

using namespace qv;

TEST(LearningCenter, TopicsShowTheirPagesAndMissingPagesChangeNothing) {
  test::AppHarness h;
  const QString dir = h.install.installDir;
  for (const auto& [name, body] :
       {std::pair{"Welcome.htm", "Welcome aboard <a href=\"SysReq.htm\">needs</a>"},
        std::pair{"Tutorials.htm", "Tutorial list"}, std::pair{"SysReq.htm", "A microphone"}})
    test::WriteBytes(dir + "/Help/" + name, QByteArray("<html><body>") + body + "</body></html>");
  auto* lc = h.screen<ui::frm_LC>("frm_LC");
  EXPECT_EQ(lc->lblTitle()->text(), "Welcome");
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Welcome aboard"));

  lc->TopicClicked(lc->item("KEY_Tutorials"));  // a topic with children has its own page
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Tutorial list"));
  lc->TopicClicked(lc->item("KEY_EULA"));  // no EULA.htm
  EXPECT_EQ(lc->lblTitle()->text(), "Tutorials");
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("Tutorial list"));
  lc->TopicClicked(lc->item("KEY_Welcome"));
  lc->WebBrowser2()->setSource(QUrl("SysReq.htm"));  // local links are followed
  EXPECT_TRUE(lc->WebBrowser2()->toPlainText().contains("A microphone"));

  // Expanding and collapsing only swap the book image.
  QTreeWidgetItem* it = lc->item("KEY_Tutorials");
  it->setExpanded(true);
  EXPECT_EQ(it->data(0, ui::frm_LC::kImageRole).toInt(), 2);
  it->setExpanded(false);
  EXPECT_EQ(it->data(0, ui::frm_LC::kImageRole).toInt(), 1);
  EXPECT_EQ(lc->lblTitle()->text(), "Welcome");
  EXPECT_EQ(ui::frm_LC::PagePath("/q", "key_SysReq "), "/q/Help/SysReq.htm");
  EXPECT_EQ(ui::frm_LC::PagePath("/q", "KEY_Key_Tutorials"), "/q/Help/Tutorials.htm");
}
