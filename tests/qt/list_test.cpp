#include <QFrame>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <string>

#include "desktop_fixture.h"

namespace pellark {
namespace {

using std::chrono::milliseconds;

std::string NumberedLine(int number) {
  std::string line = "$";
  line += std::to_string(number);
  return line;
}

class ListTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    // Scale 2, low resolution, trace shown: the list lies below a 2-pixel gap.
    Desktop().SetClientSize(128, 130 + Desktop().GetMenuHeight());
    Desktop().CreateListBox(0, 66, 128, 64);
  }

  // Lets the pump show what was added.
  static void Pump() { EventsWithin(milliseconds(40)); }

  static QString Row(int row) { return List()->model()->index(row, 0).data().toString(); }
  static int Rows() { return List()->model()->rowCount(); }
};

TEST_F(ListTest, SitsBelowTheMenuBarWithFrameAndScrollBars) {
  QAbstractItemView& list = *List();
  EXPECT_TRUE(list.isVisible());
  EXPECT_EQ(list.geometry(), QRect(0, 66, 128, 64));
  EXPECT_EQ(list.mapTo(&Window(), QPoint(0, 0)), QPoint(0, 66 + Desktop().GetMenuHeight()));
  EXPECT_EQ(list.frameShadow(), QFrame::Sunken);
  EXPECT_EQ(list.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(ListTest, ShowsTheLinesInOrder) {
  Desktop().AddListItem("$200: Cls");
  Desktop().AddListItem("$202: Jmp ,$205");
  Pump();
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(Row(0), "$200: Cls");
  EXPECT_EQ(Row(1), "$202: Jmp ,$205");
  EXPECT_EQ(List()->indexAt(QPoint(5, 2)).row(), 0);
}

TEST_F(ListTest, CutsLongLines) {
  Desktop().AddListItem(std::string(100, 'x'));
  Pump();
  EXPECT_EQ(Row(0), QString(64, QLatin1Char('x')));
}

TEST_F(ListTest, AnnouncesLinesInBatches) {
  QSignalSpy insertions(List()->model(), &QAbstractItemModel::rowsInserted);
  for (int i = 0; i < 5000; ++i) Desktop().AddListItem("$200: Cls");
  Pump();
  EXPECT_EQ(Rows(), 5000);
  EXPECT_EQ(insertions.count(), 1);
}

TEST_F(ListTest, PastAMillionDropsTheOldestLinesAndSaysHowMany) {
  for (int i = 0; i < 1'000'003; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  ASSERT_EQ(Rows(), 1'000'001);
  EXPECT_EQ(Row(0), "(3 older lines dropped)");
  EXPECT_EQ(Row(1), "$3");
  EXPECT_EQ(Row(1'000'000), "$1000002");

  // The list keeps showing the newest line, and the count follows.
  QScrollBar& scrollBar = *List()->verticalScrollBar();
  EXPECT_EQ(scrollBar.value(), scrollBar.maximum());
  for (int i = 1'000'003; i < 1'000'010; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  EXPECT_EQ(Rows(), 1'000'001);
  EXPECT_EQ(Row(0), "(10 older lines dropped)");
  EXPECT_EQ(Row(1'000'000), "$1000009");
  EXPECT_EQ(scrollBar.value(), scrollBar.maximum());

  // Scrolled up, the lines in view stay in view as older ones go.
  scrollBar.setValue(500'000);
  const QString shown = Row(List()->indexAt(QPoint(5, 2)).row());
  for (int i = 1'000'010; i < 1'000'110; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  EXPECT_EQ(Row(List()->indexAt(QPoint(5, 2)).row()), shown);
}

TEST_F(ListTest, FollowsTheNewestLineUntilScrolledUpAndNeverSelects) {
  QScrollBar& scrollBar = *List()->verticalScrollBar();
  const auto lastShownRow = [] {
    return List()->indexAt(QPoint(5, List()->viewport()->height() - 1)).row();
  };
  for (int i = 0; i < 500; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  EXPECT_GT(scrollBar.maximum(), 400);
  EXPECT_EQ(scrollBar.value(), scrollBar.maximum());
  EXPECT_EQ(Row(lastShownRow()), "$499");

  // Scrolled up, the list stays where the user is.
  scrollBar.setValue(100);
  for (int i = 500; i < 1000; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  EXPECT_EQ(List()->indexAt(QPoint(5, 2)).row(), 100);

  // Back at the end, it follows again.
  scrollBar.setValue(scrollBar.maximum());
  Desktop().AddListItem(NumberedLine(1000));
  Pump();
  EXPECT_EQ(Row(lastShownRow()), "$1000");
  EXPECT_FALSE(List()->selectionModel()->hasSelection());
}

TEST_F(ListTest, ScrollsSidewaysToTheLongestLine) {
  QScrollBar& scrollBar = *List()->horizontalScrollBar();
  Desktop().AddListItem("$200: Cls");
  Pump();
  EXPECT_EQ(scrollBar.maximum(), 0);
  Desktop().AddListItem("$202: Mov V0,$5 and a good deal more text than fits");
  Pump();
  EXPECT_GT(scrollBar.maximum(), 0);
}

TEST_F(ListTest, TheUserCanSelectALine) {
  for (int i = 0; i < 10; ++i) Desktop().AddListItem(NumberedLine(i));
  Pump();
  List()->verticalScrollBar()->setValue(0);
  const QRect third = List()->visualRect(List()->model()->index(2, 0));
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
  const QModelIndexList selected = List()->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.first().row(), 2);
}

TEST_F(ListTest, ANewListReplacesTheOldOneEmpty) {
  Desktop().AddListItem("$200: Cls");
  Pump();
  Desktop().CreateListBox(0, 65, 128, 64);
  Pump();
  EXPECT_EQ(PictureArea().findChildren<QAbstractItemView*>().size(), 1);
  EXPECT_EQ(List()->geometry(), QRect(0, 65, 128, 64));
  EXPECT_EQ(Rows(), 0);
}

TEST_F(ListTest, FreeingRemovesItAndLaterLinesAreIgnored) {
  Desktop().FreeControl();
  EXPECT_EQ(List(), nullptr);
  Desktop().AddListItem("$200: Cls");
  Desktop().FreeControl();
  Pump();
  EXPECT_EQ(List(), nullptr);
}

}  // namespace
}  // namespace pellark
