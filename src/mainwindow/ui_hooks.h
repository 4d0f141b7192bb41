#pragma once
// What the widget-free core asks of the main window and the model window.
// The forms install these when they are built; tests install recorders.
// Until a form exists, each hook does nothing.
#include <QImage>
#include <QString>
#include <functional>

namespace tellumo {

struct UiHooks {
  // The main window's caption.
  std::function<void(const QString&)> setMainCaption;
  // The captions of the recent-file items follow RecentFiles.
  std::function<void()> recentFilesChanged;
  // Selects a tab of SSTab1 (its handler runs).
  std::function<void(int)> showTab;
  // The model window: unloaded, or shown with the layers filled.
  std::function<void()> unloadModelWindow;
  std::function<void()> showModelWindow;
  // The data grid refilled from FieldData.
  std::function<void()> fillDataGrid;
  // The status box Text1 follows its plain-state text.
  std::function<void()> statusTextChanged;
  // The plot tab's boxes Text2, Text3 and Text4 follow their plain state.
  std::function<void()> plotBoxesChanged;
  // The main window's own mouse pointer (arrow, hourglass).
  std::function<void(int)> setMainPointer;
  // The picture of the plot box Bilog as it is drawn now; a null image when
  // there is none.
  std::function<QImage()> plotPicture;
};

UiHooks& Ui();

// Calls a hook when it is set.
template <class F, class... A>
void CallHook(const F& f, A&&... a) {
  if (f) f(std::forward<A>(a)...);
}

}  // namespace tellumo
