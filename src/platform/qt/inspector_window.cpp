#include "platform/qt/inspector_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_text.h"
#include "platform/text.h"

namespace pellark {
namespace {

// The space between the main window and the Inspector beside it.
constexpr int kGap = 8;

QStringList StateLines(const InspectorSnapshot& snapshot) {
  QString text = ToQString(StateText(snapshot));
  text.chop(1);  // the last line's end
  return text.split(QLatin1Char('\n'));
}

}  // namespace

InspectorWindow::InspectorWindow(WindowEventQueue& events)
    : QWidget(nullptr, Qt::Window),
      events_(events),
      state_(new StateView(this)),
      goTo_(new QLineEdit(this)),
      followPc_(new QCheckBox(QStringLiteral("Follow PC"), this)),
      memory_(new MemoryView(
          shown_, [this](int address) { Push(WindowEvent::Kind::BreakpointToggle, address); },
          this)),
      breakpointAddress_(new QLineEdit(this)),
      breakpoints_(new QListWidget(this)),
      watchpoint_(new QLineEdit(this)),
      watchpoints_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Pellark Inspector"));
  state_->setObjectName(QStringLiteral("machineState"));
  auto* stateArea = new QScrollArea(this);
  stateArea->setWidget(state_);
  stateArea->setWidgetResizable(true);
  memory_->setObjectName(QStringLiteral("memory"));
  goTo_->setObjectName(QStringLiteral("goTo"));
  goTo_->setPlaceholderText(QStringLiteral("address"));
  breakpointAddress_->setObjectName(QStringLiteral("breakpointAddress"));
  breakpointAddress_->setPlaceholderText(QStringLiteral("Address, then Enter"));
  auto* remove = new QPushButton(QStringLiteral("Remove"), this);
  watchpoint_->setObjectName(QStringLiteral("watchpoint"));
  watchpoint_->setPlaceholderText(QStringLiteral("Address[:cells], Vx or I, then Enter"));
  watchpoints_->setObjectName(QStringLiteral("watchpoints"));
  auto* removeWatchpoint = new QPushButton(QStringLiteral("Remove"), this);
  removeWatchpoint->setObjectName(QStringLiteral("removeWatchpoint"));

  auto* memoryBar = new QHBoxLayout;
  memoryBar->addWidget(new QLabel(QStringLiteral("Go to"), this));
  memoryBar->addWidget(goTo_);
  memoryBar->addWidget(followPc_);
  memoryBar->addStretch();
  auto* right = new QVBoxLayout;
  right->addLayout(memoryBar);
  right->addWidget(memory_, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(stateArea, 1);
  left->addWidget(new QLabel(QStringLiteral("Breakpoints"), this));
  left->addWidget(breakpointAddress_);
  left->addWidget(breakpoints_);
  left->addWidget(remove);
  left->addWidget(new QLabel(QStringLiteral("Watchpoints"), this));
  left->addWidget(watchpoint_);
  left->addWidget(watchpoints_);
  left->addWidget(removeWatchpoint);
  auto* columns = new QHBoxLayout(this);
  columns->addLayout(left);
  columns->addLayout(right, 1);

  connect(goTo_, &QLineEdit::returnPressed, this, [this] {
    if (const auto address = TakeAddress(*goTo_)) Push(WindowEvent::Kind::MemoryGoTo, *address);
  });
  connect(followPc_, &QCheckBox::toggled, this,
          [this](bool on) { Push(WindowEvent::Kind::FollowPc, 0, on); });
  connect(breakpointAddress_, &QLineEdit::returnPressed, this, [this] {
    if (const auto address = TakeAddress(*breakpointAddress_)) {
      Push(WindowEvent::Kind::BreakpointToggle, *address);
    }
  });
  // Activating a breakpoint shows it in memory; Remove takes the selected one away.
  connect(breakpoints_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    Push(WindowEvent::Kind::MemoryGoTo, item->data(Qt::UserRole).toInt());
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (const QListWidgetItem* item = breakpoints_->currentItem()) {
      Push(WindowEvent::Kind::BreakpointRemove, item->data(Qt::UserRole).toInt());
    }
  });
  // The front end reads the text, and says so when it names no watchpoint.
  connect(watchpoint_, &QLineEdit::returnPressed, this, [this] {
    const QString text = watchpoint_->text().trimmed();
    if (text.isEmpty()) return;
    watchpoint_->clear();
    PushWatchpoint(WindowEvent::Kind::WatchpointToggle, text);
  });
  connect(removeWatchpoint, &QPushButton::clicked, this, [this] {
    if (const QListWidgetItem* item = watchpoints_->currentItem()) {
      PushWatchpoint(WindowEvent::Kind::WatchpointRemove, item->text());
    }
  });
  state_->ShowLines(StateLines(shown_));
}

void InspectorWindow::Open(const QWidget& mainWindow) {
  if (!placed_) {
    placed_ = true;
    resize(sizeHint());
    QPoint position = mainWindow.frameGeometry().topRight() + QPoint(kGap, 0);
    if (const QScreen* screen = mainWindow.screen()) {
      const QRect room = screen->availableGeometry();
      position.setX(std::max(room.left(), std::min(position.x(), room.right() - width())));
    }
    move(position);
  }
  show();
  raise();
  // The state takes the keys first, so that Ctrl+C copies it at once.
  state_->setFocus();
}

void InspectorWindow::Show(const InspectorSnapshot& snapshot) {
  const bool breakpointsChanged = snapshot.breakpoints != shown_.breakpoints;
  const bool watchpointsChanged = snapshot.watchpoints != shown_.watchpoints;
  // A snapshot of a stopped machine repeats itself; nothing is drawn again for it.
  if (snapshot == shown_) return;
  memory_->PrepareFor(snapshot);
  shown_ = snapshot;
  state_->ShowLines(StateLines(shown_));
  if (breakpointsChanged) ShowBreakpoints();
  if (watchpointsChanged) ShowWatchpoints();
  {
    const QSignalBlocker quiet(followPc_);
    followPc_->setChecked(shown_.followPc);
  }
  if (shown_.goTo >= 0) {
    memory_->ShowAtTop(shown_.goTo);
  } else if (shown_.followPc) {
    memory_->KeepInSight(shown_.pc);
  }
}

void InspectorWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  Push(WindowEvent::Kind::InspectorClosed);
}

void InspectorWindow::Push(WindowEvent::Kind kind, int address, bool follow) {
  events_.push_back({.kind = kind, .address = address, .follow = follow});
}

void InspectorWindow::PushWatchpoint(WindowEvent::Kind kind, const QString& text) {
  events_.push_back({.kind = kind, .text = text.toStdString()});
}

std::optional<int> InspectorWindow::TakeAddress(QLineEdit& field) {
  // Before the first snapshot no memory is shown, and no address is in it.
  const std::optional<std::int32_t> address =
      shown_.memory.empty()
          ? std::nullopt
          : ParseAddress(field.text().trimmed().toStdString(), shown_.CellCount() - 1);
  if (address) {
    field.clear();
  } else {
    field.selectAll();
  }
  return address;
}

void InspectorWindow::ShowBreakpoints() {
  breakpoints_->clear();
  for (const std::int32_t address : shown_.breakpoints) {
    auto* item = new QListWidgetItem(QLatin1Char('$') + ToQString(HexText(address)), breakpoints_);
    item->setData(Qt::UserRole, address);
  }
}

void InspectorWindow::ShowWatchpoints() {
  watchpoints_->clear();
  for (const std::string& text : shown_.watchpoints) watchpoints_->addItem(ToQString(text));
}

}  // namespace pellark
