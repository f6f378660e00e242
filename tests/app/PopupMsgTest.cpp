#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>

#include "GuiTestApplication.h"
#include "srcPopupMsg.h"

namespace {

struct PlacementCase {
  QSize Owner;
  QPoint Expected;
};

TEST(PopupMsg, ShowsCentredInItsOwnerWithTheProgressBarOnlyWhenAsked) {
  const PlacementCase cases[] = {{{733, 496}, {234, 225}}, {{266, 46}, {0, 0}}, {{200, 40}, {-32, -2}}};
  for (const PlacementCase& c : cases) {
    QWidget owner;
    owner.resize(c.Owner);
    TPopupMsg popup(&owner);
    EXPECT_FALSE(popup.isVisibleTo(&owner));
    popup.SetMessage(QStringLiteral("Loading..."));
    popup.SetProgressMax(10);
    popup.SetProgressPosition(4);
    popup.ShowPopup(false);
    EXPECT_EQ(popup.pos(), c.Expected);
    EXPECT_EQ(popup.size(), QSize(265, 45));
    EXPECT_TRUE(popup.isVisibleTo(&owner));
    EXPECT_FALSE(popup.ProgressBar1->isVisibleTo(&owner));
    EXPECT_EQ(popup.Memo1->text(), QStringLiteral("Loading..."));
    EXPECT_EQ(popup.ProgressBar1->value(), 4);
    EXPECT_EQ(popup.ProgressBar1->maximum(), 10);

    popup.ShowPopup(true);
    EXPECT_TRUE(popup.ProgressBar1->isVisibleTo(&owner));
    popup.HidePopup();
    EXPECT_FALSE(popup.isVisibleTo(&owner));
    EXPECT_FALSE(popup.ProgressBar1->isVisibleTo(&owner));
  }
}

TEST(PopupMsg, CentresInTheMainWindowsClientAreaBelowTheMenuBar) {
  struct ClientCase {
    QSize Owner;
    int Left;
  };
  const ClientCase cases[] = {{{733, 496}, 234}, {{608, 490}, 171}, {{266, 200}, 0}};
  for (const ClientCase& c : cases) {
    QMainWindow owner;
    owner.menuBar()->addMenu(QStringLiteral("&File"));
    owner.resize(c.Owner);
    owner.show();
    const int menuHeight = owner.menuBar()->height();
    ASSERT_GT(menuHeight, 0);
    TPopupMsg popup(&owner);
    popup.ShowPopup(false);
    // The client area is the window less the menu bar above it.
    EXPECT_EQ(popup.pos(), QPoint(c.Left, menuHeight + (c.Owner.height() - menuHeight - 45) / 2));
  }
}

}  // namespace
