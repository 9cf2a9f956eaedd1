#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

#include <dorvane/wdxwidgets_export.h>

class QLabel;
class QToolButton;
class QVBoxLayout;

// A titled group whose body rolls up and down with the button in its title row.
class WDXWIDGETS_EXPORT WdxRoolupWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool expanded READ isExpanded WRITE setExpand NOTIFY expandChanged)

public:
    explicit WdxRoolupWidget(QWidget *parent = nullptr);
    explicit WdxRoolupWidget(const QString &title, QWidget *parent = nullptr);
    ~WdxRoolupWidget() override;

    // Shown on the button while expanded and collapsed respectively.
    static QIcon expandIcon();
    static QIcon collapseIcon();

    // Adds the widget to the body once.
    void addWidget(QWidget *widget);
    // Hides a body widget and keeps it hidden across expanding until showWidget.
    void hideWidget(QWidget *widget);
    void showWidget(QWidget *widget);
    // Takes every widget out of the body and hides it; the widgets are not deleted.
    void clearWidgets();
    QList<QWidget *> widgets() const { return m_widgets; }
    QList<QWidget *> hiddenWidgets() const { return m_hiddenWidgets; }

    void setText(const QString &title);
    QString text() const;
    void setIcon(const QIcon &icon, const QSize &size = QSize(16, 16));
    void setIconVisible(bool visible);

    bool isExpanded() const { return m_expanded; }

public slots:
    void setExpand(bool expand);

signals:
    void expandChanged(bool expanded);

private:
    void watch(QWidget *widget);
    void unwatchAll();
    void forgetWidget(QObject *widget);

    QLabel *m_iconLabel;
    QLabel *m_titleLabel;
    QToolButton *m_rollupButton;
    QVBoxLayout *m_bodyLayout;
    bool m_expanded = true;
    QList<QWidget *> m_widgets;
    QList<QWidget *> m_hiddenWidgets;
};
