#pragma once

#include <QList>

class QToolBar;
class QWidget;

// The order in which Tab walks through the controls of the window and its
// pages. Tool bars make the buttons of their actions unreachable by
// keyboard, and widgets made later (a page's media buttons, its player) land
// at the end of the walk; these helpers put them back where they show.
namespace FocusChain {
// The controls inside a widget that take focus with Tab, in the order its
// layouts show them (the widget itself when it takes focus).
QList<QWidget *> controls(QWidget *apWidget);
// A tool bar's controls from left to right; the buttons it made for its
// actions are made reachable with Tab.
QList<QWidget *> toolBarControls(QToolBar *apToolBar);
// Tab goes from each widget of the list to the next.
void link(const QList<QWidget *> &acWidgets);
} // namespace FocusChain
