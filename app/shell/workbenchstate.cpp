#include "shell/workbenchstate.h"

#include "model/settingsvalues.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"
#include "windows/transmit/transmittextedit.h"
#include "windows/transmit/transmitwindow.h"

#include <QByteArray>

#include <yaml-cpp/yaml.h>

namespace {

const char kSection[] = "workbench";
// Far more than any arrangement of the docks takes; a larger value is no
// state of ours.
constexpr int kMaxDockState = 64 * 1024;

// A key that is not there gives a node that throws on every question but
// this one.
bool isMap(const YAML::Node &node)
{
    return node.IsDefined() && node.IsMap();
}

} // namespace

void restoreWorkbenchState(MainWindow &window, const YAML::Node &settings)
{
    if (!isMap(settings) || !isMap(settings[kSection]))
        return;
    const YAML::Node section = settings[kSection];

    const QByteArray state
        = QByteArray::fromBase64(settingsString(section, "dockState", QString()).toLatin1());
    // restoreState() checks what it reads and refuses what is not its own.
    if (!state.isEmpty() && state.size() <= kMaxDockState && window.restoreState(state))
        window.keepDockSizesAt(window.size());

    if (isMap(section["transmit"])) {
        const YAML::Node transmit = section["transmit"];
        TransmitWindow *tx = window.transmitWindow();
        const int mode = settingsInt(transmit, "inputMode", tx->inputMode());
        if (mode == 0 || mode == 1)
            tx->setInputMode(mode);
        tx->setTransmitText(settingsString(transmit, "text", QString()), mode);
        const int interval = settingsInt(transmit, "interval", tx->interval());
        if (interval >= 1 && interval <= 60000)
            tx->setInterval(interval);
    }
    if (isMap(section["echo"])) {
        const YAML::Node echo = section["echo"];
        EchoTextEdit *edit = window.dialogueWindow()->echoEdit();
        edit->setReportDetails(settingsInt(echo, "reportDetails", edit->reportDetails()) != 0);
        edit->setDisplayDate(settingsInt(echo, "displayDate", edit->displayDate()) != 0);
        edit->setDataInNewLine(settingsInt(echo, "dataInNewLine", edit->dataInNewLine()) != 0);
    }
}

void storeWorkbenchState(const MainWindow &window, YAML::Node &settings)
{
    YAML::Node section;
    section["dockState"] = window.saveState().toBase64().toStdString();
    const TransmitWindow *tx = window.transmitWindow();
    YAML::Node transmit;
    transmit["text"] = toSettingsText(tx->editor()->toPlainText());
    transmit["inputMode"] = tx->inputMode();
    transmit["interval"] = tx->interval();
    section["transmit"] = transmit;
    const EchoTextEdit *edit = window.dialogueWindow()->echoEdit();
    YAML::Node echo;
    echo["reportDetails"] = edit->reportDetails() ? 1 : 0;
    echo["displayDate"] = edit->displayDate() ? 1 : 0;
    echo["dataInNewLine"] = edit->dataInNewLine() ? 1 : 0;
    section["echo"] = echo;
    settings[kSection] = section;
}
