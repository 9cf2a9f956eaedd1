#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

class EchoTextEdit;
class WdxColorBlockLabel;
class WdxPaletteWidget;

// The break-line options of the echo view, in the drop-down of the tool
// bar's "Insert Break" button: symbol, colour (picked from a palette that
// pops up at the pointer), repeat count and automatic breaks. Every control
// writes straight to the view.
class DORVANE_APP_EXPORT EchoBreakWidget : public QWidget
{
    Q_OBJECT

public:
    explicit EchoBreakWidget(EchoTextEdit *edit, QWidget *parent = nullptr);

    WdxPaletteWidget *paletteWidget() const { return m_palette; }

    // Pops the palette up at the pointer.
    void showPalette();

private:
    EchoTextEdit *m_edit;
    WdxColorBlockLabel *m_colorLabel = nullptr;
    WdxPaletteWidget *m_palette = nullptr;
    class QMenu *m_paletteMenu = nullptr;
};
