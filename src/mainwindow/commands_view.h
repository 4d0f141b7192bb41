#pragma once
// The main window's command layer wired to its widgets: every menu item and
// toolbar key reaches its command, the tab command runs on each selection of
// SSTab1, Enter presses the main button of the data and options tabs, and
// the language list and the two pictures reach their handlers; the controls
// of the profile tab have a view of their own.
#include <QObject>
#include <QPointer>

class QWidget;

namespace tellumo {

class PrintTabView;
class ProfileTabView;
class SEV;

class CommandsView : public QObject {
  Q_OBJECT
 public:
  explicit CommandsView(SEV& window);
  ~CommandsView() override;

  // The tab command for the tab now selected.
  void SSTab1_Click();
  // The profile tab's controls from their plain state (after the settings
  // have filled it at start-up).
  void ShowProfileState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void InstallMenus();
  void InstallToolbar();
  void ConnectControls();

  SEV& w_;
  QPointer<PrintTabView> print_;
  QPointer<ProfileTabView> profile_;
  // The widgets whose events the view filters, kept apart from the window:
  // the filter still runs while the window is being destroyed.
  QPointer<QWidget> picture4_, picture5_;
};

}  // namespace tellumo
