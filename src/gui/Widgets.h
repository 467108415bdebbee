#pragma once

#include <QSplitter>
#include <QString>
#include <QWidget>

namespace quillon::gui {

/// A new widget with the object name that translations, tests and the tab order find it by.
template <typename T> T* Named(const char* name, QWidget* parent) {
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

/// The same for a widget without text of its own (a list, a box to type in): screen readers cannot see object
/// names, so the name is its accessible name too until a translated one is set. Buttons and labels have their
/// caption for that, and use Named.
template <typename T> T* NamedField(const char* name, QWidget* parent) {
    T* w = Named<T>(name, parent);
    w->setAccessibleName(QLatin1String(name));
    return w;
}

/// A splitter between panels that keep a least size rather than snap closed.
inline QSplitter* NamedSplitter(const char* name, Qt::Orientation orientation, QWidget* parent) {
    auto* s = Named<QSplitter>(name, parent);
    s->setOrientation(orientation);
    s->setHandleWidth(4);
    s->setChildrenCollapsible(false);
    return s;
}

} // namespace quillon::gui
