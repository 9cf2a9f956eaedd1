#pragma once

class QWidget;

// The plain workspace that a workbench window shows before it has content.
QWidget *createWorkspacePlaceholder(QWidget *parent);
