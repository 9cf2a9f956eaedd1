#pragma once

class QString;
class QWidget;

// The quiet workspace a workbench window shows while it has no content: the
// window's picture from the tool bar and a line saying what belongs here.
QWidget *createWorkspacePlaceholder(QWidget *parent, const char *iconName, const QString &caption);
