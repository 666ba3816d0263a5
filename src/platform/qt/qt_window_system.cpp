#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QScreen>
#include <chrono>
#include <utility>

#include "platform/qt/application_start.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/input_filter.h"
#include "platform/qt/inspector_window.h"
#include "platform/qt/list_control.h"
#include "platform/qt/main_window.h"
#include "platform/qt/menu_tree.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_event_queue.h"
#include "platform/timing.h"

namespace pellark {
namespace {

using Clock = std::chrono::steady_clock;

// The program polls once per emulated instruction, hundreds of thousands of times a second;
// Qt's own event processing runs at most this often, an empty poll in between costs one
// clock read.
constexpr auto kPumpInterval = std::chrono::milliseconds(1);
// New list lines reach the view in batches, one per interval at most, never one per line.
constexpr auto kListPublishInterval = std::chrono::milliseconds(30);
// The open Inspector asks for the machine's state once per displayed frame, no more often.
constexpr auto kInspectorInterval = FrameClock::kFrame;

class QtWindowSystem final : public QtDesktop {
 public:
  explicit QtWindowSystem(std::unique_ptr<QApplication> application)
      : application_(std::move(application)),
        inputFilter_(events_),
        mainWindow_(std::make_unique<MainWindow>(events_)),
        menus_(std::make_unique<MenuTree>(mainWindow_->MenuBar(), events_)) {
    application_->installEventFilter(&inputFilter_);
  }

  ~QtWindowSystem() override { application_->removeEventFilter(&inputFilter_); }

  bool SnapshotKeyboard() override {
    // Runs before every instruction: compare the 256 states only when a key event came.
    if (inputFilter_.KeyStatesGeneration() != snapshotOf_) {
      snapshotOf_ = inputFilter_.KeyStatesGeneration();
      StoreSnapshot(inputFilter_.KeyStates());
    }
    return true;
  }

  bool OpenKeyboardDevice() override { return true; }

  bool OpenMainWindow(int x, int y, int innerWidth, int innerHeight,
                      std::string_view title) override {
    mainWindow_->Open(x, y, innerWidth, innerHeight, ToQString(title));
    return true;
  }

  void SetClientSize(int innerWidth, int innerHeight) override {
    mainWindow_->SetContentSize(innerWidth, innerHeight);
  }

  WindowEvent PollWindowEvent() override {
    if (events_.empty()) {
      const Clock::time_point now = Clock::now();
      if (now - lastPump_ < kPumpInterval) return {};
      lastPump_ = now;
      Pump(now);
      if (events_.empty()) return {};
    }
    WindowEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
  }

  bool CreateMenuBar() override {
    menus_ = std::make_unique<MenuTree>(mainWindow_->NewMenuBar(), events_);
    return true;
  }

  void AddMenuTitle(std::string_view text) override { menus_->AddTitle(ToQString(text)); }
  void BeginSubmenu(std::string_view text) override { menus_->BeginSubmenu(ToQString(text)); }
  void EndSubmenu() override { menus_->EndSubmenu(); }

  void AddMenuItem(int id, std::string_view text, MenuItemKind kind) override {
    menus_->AddItem(id, ToQString(text), kind);
  }

  void AddMenuSeparator() override { menus_->AddSeparator(); }
  void SetItemCheck(int id, bool checked) override { menus_->SetCheck(id, checked); }
  bool GetItemCheck(int id) const override { return menus_->IsChecked(id); }
  void SetItemEnabled(int id, bool enabled) override { menus_->SetEnabled(id, enabled); }
  int GetMenuHeight() const override { return mainWindow_->MenuHeight(); }

  void BindShortcutKey(int functionKey, int id) override {
    inputFilter_.BindFunctionKey(functionKey, Qt::NoModifier, id);
  }

  void BindModifiedShortcutKey(int functionKey, KeyModifier modifier, int id) override {
    inputFilter_.BindFunctionKey(
        functionKey, modifier == KeyModifier::Shift ? Qt::ShiftModifier : Qt::ControlModifier, id);
  }

  void BindCommandKey(CommandKey key, int id) override {
    switch (key) {
      case CommandKey::AltReturn:
        // Return on the main keyboard or Enter on the keypad.
        inputFilter_.BindKey(Qt::Key_Return, Qt::AltModifier, id);
        inputFilter_.BindKey(Qt::Key_Enter, Qt::AltModifier, id);
        break;
      case CommandKey::Escape: inputFilter_.BindKey(Qt::Key_Escape, Qt::NoModifier, id); break;
    }
  }

  void SetFullScreen(bool on) override {
    mainWindow_->SetFullScreen(on);
    if (list_ != nullptr) list_->setVisible(!on);
  }

  void SetBackground(Colour colour) override {
    mainWindow_->Picture().SetBackground(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
  }

  ScreenSize GetScreenSize() const override {
    const QScreen* screen = mainWindow_->screen();
    if (screen == nullptr) return {};
    return {screen->geometry().width(), screen->geometry().height()};
  }

  void DrawPicture(const Image& image, int width, int height) override {
    mainWindow_->Picture().ShowPicture(image, width, height);
  }

  void DrawText(int x, int y, std::string_view text, Colour colour) override {
    const QColor qtColour(colour & 0xFF, colour >> 8 & 0xFF, BlueOf(colour));
    mainWindow_->Picture().AddText(QPoint(x, y), ToQString(text), qtColour);
  }

  void CreateListBox(int x, int y, int width, int height) override {
    FreeControl();
    list_ = new ListControl(&mainWindow_->Picture());
    list_->setGeometry(x, y, width, height);
    // Full screen shows the display alone; the list shows again when it ends.
    list_->setVisible(!mainWindow_->IsFullScreen());
  }

  void AddListItem(std::string_view text) override {
    if (list_ != nullptr) list_->AddLine(text);
  }

  void RemoveLastListItem() override {
    if (list_ != nullptr) list_->RemoveLastLine();
  }

  void FreeControl() override {
    delete list_;
    list_ = nullptr;
  }

  void OpenInspector() override {
    // Made when first asked for, so that a start without it does not pay for it.
    if (inspector_ == nullptr) inspector_ = std::make_unique<InspectorWindow>(events_);
    inspector_->Open(*mainWindow_);
  }

  void CloseInspector() override {
    if (inspector_ != nullptr) inspector_->hide();
  }

  void ShowInspector(const InspectorSnapshot& snapshot) override {
    if (inspector_ != nullptr) inspector_->Show(snapshot);
  }

  void ShowMessageBox(std::string_view title, std::string_view text) override {
    ShowMessage(DialogOwner(), ToQString(title), ToQString(text));
  }

  std::string AskFileToOpen(std::string_view title, const std::filesystem::path& initialFolder,
                            std::string_view pattern) override {
    return AskFileName(DialogOwner(), FileDialogKind::Open, ToQString(title),
                       ToQtFileName(initialFolder), pattern);
  }

  std::string AskFileToSave(std::string_view title, const std::filesystem::path& initialFolder,
                            std::string_view pattern) override {
    return AskFileName(DialogOwner(), FileDialogKind::Save, ToQString(title),
                       ToQtFileName(initialFolder), pattern);
  }

 private:
  void Pump(Clock::time_point now) {
    if (list_ != nullptr && now - lastListPublish_ >= kListPublishInterval) {
      lastListPublish_ = now;
      list_->PublishNewLines();
    }
    if (inspector_ != nullptr && inspector_->isVisible() &&
        now - lastInspectorDue_ >= kInspectorInterval) {
      lastInspectorDue_ = now;
      events_.push_back({WindowEvent::Kind::InspectorDue});
    }
    QCoreApplication::processEvents();
    // Outside an event loop Qt would keep the objects it deletes later for ever.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Dialogs belong to the window once it is shown; before that they stand alone.
  QWidget* DialogOwner() const { return mainWindow_->isVisible() ? mainWindow_.get() : nullptr; }

  // Declared first so that it outlives every widget.
  std::unique_ptr<QApplication> application_;
  WindowEventQueue events_;
  InputFilter inputFilter_;
  std::unique_ptr<MainWindow> mainWindow_;
  std::unique_ptr<MenuTree> menus_;
  std::unique_ptr<InspectorWindow> inspector_;
  // Owned by the picture area, as a child widget.
  ListControl* list_ = nullptr;
  Clock::time_point lastPump_;
  Clock::time_point lastListPublish_;
  // The key states generation the snapshot was last taken from.
  std::uint32_t snapshotOf_ = 0;
  Clock::time_point lastInspectorDue_;
};

}  // namespace

std::unique_ptr<QtDesktop> CreateQtWindowSystem(int& argc, char** argv, std::string& error) {
  std::unique_ptr<QApplication> application = StartApplication(argc, argv, error);
  if (application == nullptr) return nullptr;
  return std::make_unique<QtWindowSystem>(std::move(application));
}

}  // namespace pellark
