#pragma once

#include <QLabel>

#include <dorvane/wdxwidgets_export.h>

// A label that behaves like a link: pointing hand and underline while hovered; a press opens the URL
// (with open-external-links) or emits clicked.
class WDXWIDGETS_EXPORT WdxHyperLink : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString url READ url WRITE setUrl)
    Q_PROPERTY(bool showUnderline READ showUnderline WRITE setShowUnderline)

public:
    explicit WdxHyperLink(QWidget *parent = nullptr);
    WdxHyperLink(const QString &text, const QString &url, QWidget *parent = nullptr);
    ~WdxHyperLink() override;

    QString url() const { return m_url; }
    void setUrl(const QString &url) { m_url = url; }
    bool showUnderline() const { return m_showUnderline; }
    void setShowUnderline(bool on);
    bool isHovered() const { return m_hovered; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setHovered(bool hovered);

    bool m_hovered = false;
    bool m_showUnderline = true;
    QString m_url;
};
