#pragma once

#include <QScrollArea>

#include <dorvane/app_export.h>

class QFormLayout;
class WdxBlankWidget;

// The scrolling area that holds a window's rows in a top-aligned form
// layout. While the window has no rows it shows the window's picture.
class DORVANE_APP_EXPORT ScrollWorkspace : public QScrollArea
{
    Q_OBJECT

public:
    explicit ScrollWorkspace(QWidget *parent = nullptr);

    // The content widget, named "ScrollContent".
    WdxBlankWidget *content() const { return m_content; }
    QFormLayout *rowLayout() const { return m_rows; }

    void setPicture(const QString &svgPath);
    void setPictureVisible(bool visible);
    bool isPictureVisible() const;

    // Moves the row at from to index to; the other rows close up.
    void moveRow(int from, int to);

private:
    WdxBlankWidget *m_content;
    QFormLayout *m_rows;
};
