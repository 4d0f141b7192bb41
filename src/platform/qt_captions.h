#pragma once
// Captions of the forms' widgets from their plain state. An empty caption
// leaves the widget's designed text; an unchanged one is not set again, so
// nothing is laid out anew for nothing.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QString>

namespace tellumo {

inline void ShowCaption(QAbstractButton* b, const QString& caption) {
  if (b && !caption.isEmpty() && b->text() != caption) b->setText(caption);
}
inline void ShowCaption(QGroupBox* f, const QString& caption) {
  if (f && !caption.isEmpty() && f->title() != caption) f->setTitle(caption);
}
inline void ShowCaption(QLabel* l, const QString& caption) {
  if (l && !caption.isEmpty() && l->text() != caption) l->setText(caption);
}

}  // namespace tellumo
