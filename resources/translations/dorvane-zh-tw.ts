<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Dorvane</source>
        <translation>關於 Dorvane</translation>
    </message>
    <message>
        <source>Version %1, built with Qt %2</source>
        <translation>版本 %1，以 Qt %2 建置</translation>
    </message>
    <message>
        <source>A workbench for engineers who talk to devices over serial ports, TCP and UDP: watch the traffic, send data once or periodically, and build frames from transmit protocols.</source>
        <translation>為透過序列埠、TCP 與 UDP 與裝置通訊的工程師打造的工作台：檢視通訊資料，單次或週期傳送資料，並由傳送協定建立訊框。</translation>
    </message>
    <message>
        <source>Made by Quorvel.</source>
        <translation>由 Quorvel 出品。</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>關於 Qt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>(64-bit)</source>
        <translation>（64 位元）</translation>
    </message>
    <message>
        <source>(32-bit)</source>
        <translation>（32 位元）</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>%1: the name is not valid UTF-8</source>
        <translation>%1：檔名不是有效的 UTF-8</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1：檔案不存在</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1：不是一般檔案</translation>
    </message>
    <message>
        <source>%1: not a Dorvane document (.dvptc, .dvpts, .dvits, .dvprx)</source>
        <translation>%1：不是 Dorvane 文件（.dvptc、.dvpts、.dvits、.dvprx）</translation>
    </message>
</context>
<context>
    <name>Channel</name>
    <message>
        <source>The channel closed before the send was complete</source>
        <translation>傳送完成前通道已關閉</translation>
    </message>
</context>
<context>
    <name>ChannelPage</name>
    <message>
        <source>Timing Strategy</source>
        <translation>計時策略</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
</context>
<context>
    <name>ChannelWindow</name>
    <message>
        <source>Serialport</source>
        <translation>序列埠</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>網路</translation>
    </message>
    <message>
        <source>No Active Channel</source>
        <translation>無作用中通道</translation>
    </message>
    <message>
        <source>No Active Channel (%1)</source>
        <translation>無作用中通道（%1）</translation>
    </message>
    <message>
        <source>The driver set %1 baud instead of %2</source>
        <translation>驅動程式設定的鮑率為 %1，而不是 %2</translation>
    </message>
    <message>
        <source>Reconnecting …</source>
        <translation>正在重新連線…</translation>
    </message>
    <message>
        <source>Not on this port: %1</source>
        <translation>此連接埠不支援：%1</translation>
    </message>
</context>
<context>
    <name>DataTypeSelectDialog</name>
    <message>
        <source>Data Type</source>
        <translation>資料型別</translation>
    </message>
</context>
<context>
    <name>DialogueWindow</name>
    <message>
        <source>Log to File</source>
        <translation>記錄到檔案</translation>
    </message>
    <message>
        <source>capture.log, capture.bin or capture.pcapng</source>
        <translation>capture.log、capture.bin 或 capture.pcapng</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>檔案：</translation>
    </message>
    <message>
        <source>Append to an existing file</source>
        <translation>附加到既有檔案</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>永不</translation>
    </message>
    <message>
        <source>New file every:</source>
        <translation>檔案分割大小：</translation>
    </message>
    <message>
        <source>Text log (*.log);;Raw received bytes (*.bin);;Packet capture (*.pcapng)</source>
        <translation>文字記錄 (*.log);;接收的原始位元組 (*.bin);;封包擷取 (*.pcapng)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Switch Echo Mode</source>
        <translation>切換回顯模式</translation>
    </message>
    <message>
        <source>Echo Mode: Hex</source>
        <translation>回顯模式：十六進位</translation>
    </message>
    <message>
        <source>Clear Dialogue</source>
        <translation>清除對話</translation>
    </message>
    <message>
        <source>Echo Rx Data</source>
        <translation>回顯接收資料</translation>
    </message>
    <message>
        <source>Echo Tx Data</source>
        <translation>回顯傳送資料</translation>
    </message>
    <message>
        <source>Display Timestamp</source>
        <translation>顯示時間戳記</translation>
    </message>
    <message>
        <source>Show data on a new line</source>
        <translation>資料另起一行顯示</translation>
    </message>
    <message>
        <source>Insert Break</source>
        <translation>插入分隔線</translation>
    </message>
    <message>
        <source>Auto Line Wrap</source>
        <translation>自動換行</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>尺規</translation>
    </message>
    <message>
        <source>Ruler Clear</source>
        <translation>清除尺規</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>擷取</translation>
    </message>
    <message>
        <source>Pause View</source>
        <translation>暫停顯示</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>尋找</translation>
    </message>
    <message>
        <source>Find (%1)</source>
        <translation>尋找（%1）</translation>
    </message>
    <message>
        <source>Unable to capture to %1: %2</source>
        <translation>無法擷取到 %1：%2</translation>
    </message>
    <message>
        <source>The capture to %1 stopped: %2
What was written before is kept.</source>
        <translation>擷取到 %1 已停止：%2
先前寫入的內容已保留。</translation>
    </message>
    <message>
        <source>Capturing to %1 (%2)</source>
        <translation>正在擷取到 %1（%2）</translation>
    </message>
    <message>
        <source>Echo Mode: Text</source>
        <translation>回顯模式：文字</translation>
    </message>
    <message>
        <source>Client %1 connected</source>
        <translation>用戶端 %1 已連線</translation>
    </message>
    <message>
        <source>Client %1 disconnected</source>
        <translation>用戶端 %1 已中斷連線</translation>
    </message>
    <message>
        <source>Client %1 waiting: three clients are connected</source>
        <translation>用戶端 %1 等待中：已有三個用戶端連線</translation>
    </message>
</context>
<context>
    <name>EchoBreakWidget</name>
    <message>
        <source>Echo Break Options</source>
        <translation>回顯分隔選項</translation>
    </message>
    <message>
        <source>Break symbole:</source>
        <translation>分隔符號：</translation>
    </message>
    <message>
        <source>Click to pick the colour of break lines</source>
        <translation>按一下選擇分隔線的色彩</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>色彩：</translation>
    </message>
    <message>
        <source>Repeat count:</source>
        <translation>重複次數：</translation>
    </message>
    <message>
        <source>Auto Insert</source>
        <translation>自動插入</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>訊框</translation>
    </message>
    <message>
        <source>Reset Count</source>
        <translation>計數歸零</translation>
    </message>
</context>
<context>
    <name>EchoFindBar</name>
    <message>
        <source>Find</source>
        <translation>尋找</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>十六進位</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>大小寫須相符</translation>
    </message>
    <message>
        <source>Highlight All</source>
        <translation>全部醒目提示</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一個</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一個</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>第 %1 個，共 %2 個</translation>
    </message>
</context>
<context>
    <name>EchoOptionWidget</name>
    <message>
        <source>Echo Options</source>
        <translation>回顯選項</translation>
    </message>
    <message>
        <source>Always show the data on a new line</source>
        <translation>資料一律另起一行顯示</translation>
    </message>
    <message>
        <source>Displays the date in the label</source>
        <translation>在標籤中顯示日期</translation>
    </message>
    <message>
        <source>Report the details in the label</source>
        <translation>在標籤中顯示詳細資訊</translation>
    </message>
    <message>
        <source>Show microseconds in the label</source>
        <translation>在標籤中顯示微秒</translation>
    </message>
    <message>
        <source>Show the time since the previous chunk</source>
        <translation>顯示距上一個資料區塊的時間</translation>
    </message>
</context>
<context>
    <name>FieldEditDialog</name>
    <message>
        <source>value, e.g. 0x7F</source>
        <translation>值，例如 0x7F</translation>
    </message>
    <message>
        <source>low, high, e.g. 0, 100</source>
        <translation>下限, 上限，例如 0, 100</translation>
    </message>
    <message>
        <source>start, step[, end], e.g. 0, 1, 10</source>
        <translation>起始, 步進[, 結束]，例如 0, 1, 10</translation>
    </message>
    <message>
        <source>value, value, ... or &quot;text&quot;, e.g. 1, 5, 9</source>
        <translation>值, 值, ... 或 &quot;文字&quot;，例如 1, 5, 9</translation>
    </message>
    <message>
        <source>value, value, ..., &quot;text&quot; or 0x[hex bytes], e.g. 0x[01 02 03]</source>
        <translation>值, 值, ...、&quot;文字&quot; 或 0x[十六進位位元組]，例如 0x[01 02 03]</translation>
    </message>
    <message>
        <source>count[, fill], e.g. 4, 0xFF</source>
        <translation>個數[, 填充值]，例如 4, 0xFF</translation>
    </message>
    <message>
        <source>&quot;format&quot; of yyyy MM dd hh mm ss zzz, e.g. &quot;yyyy-MM-dd hh:mm:ss&quot;</source>
        <translation>由 yyyy MM dd hh mm ss zzz 組成的 &quot;格式&quot;，例如 &quot;yyyy-MM-dd hh:mm:ss&quot;</translation>
    </message>
    <message>
        <source>period (ms), low, high, coefficient, e.g. 1000, 0, 100, 1</source>
        <translation>週期（毫秒）, 下限, 上限, 係數，例如 1000, 0, 100, 1</translation>
    </message>
    <message>
        <source>period (ms), first, second, coefficient, e.g. 1000, 0, 1, 1</source>
        <translation>週期（毫秒）, 第一值, 第二值, 係數，例如 1000, 0, 1, 1</translation>
    </message>
    <message>
        <source>Edit Field</source>
        <translation>編輯欄位</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>資料型別</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>產生器</translation>
    </message>
    <message>
        <source>Params</source>
        <translation>參數</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>HistoryItemEditor</name>
    <message>
        <source>Copy</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Fire time</source>
        <translation>傳送時間</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型別</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>內容</translation>
    </message>
</context>
<context>
    <name>InstructItemEditor</name>
    <message>
        <source>Title</source>
        <translation>標題</translation>
    </message>
    <message>
        <source>Edit in the transmit window</source>
        <translation>在傳送視窗中編輯</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
</context>
<context>
    <name>InstructSetWindow</name>
    <message>
        <source>Title</source>
        <translation>標題</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型別</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>內容</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>間隔</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>New Instruct Set</source>
        <translation>新增指令集</translation>
    </message>
    <message>
        <source>Open Instruct Set</source>
        <translation>開啟指令集</translation>
    </message>
    <message>
        <source>Save Instruct Set</source>
        <translation>儲存指令集</translation>
    </message>
    <message>
        <source>Show/Hide Comments</source>
        <translation>顯示/隱藏註解</translation>
    </message>
    <message>
        <source>Show/Hide Delay</source>
        <translation>顯示/隱藏延遲</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編輯</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Start Batch Send</source>
        <translation>開始批次傳送</translation>
    </message>
    <message>
        <source>Save instruct set</source>
        <translation>儲存指令集</translation>
    </message>
    <message>
        <source>Instruct set has changed, do you want save it?</source>
        <translation>指令集已變更，是否儲存？</translation>
    </message>
    <message>
        <source>Dorvane instruct set (*.dvits)</source>
        <translation>Dorvane 指令集 (*.dvits)</translation>
    </message>
    <message>
        <source>Stop Batch Send</source>
        <translation>停止批次傳送</translation>
    </message>
</context>
<context>
    <name>InterpretWindow</name>
    <message>
        <source>Integral</source>
        <translation>整數</translation>
    </message>
    <message>
        <source>binary:</source>
        <translation>二進位：</translation>
    </message>
    <message>
        <source>char:</source>
        <translation>char：</translation>
    </message>
    <message>
        <source>unsigned char:</source>
        <translation>unsigned char：</translation>
    </message>
    <message>
        <source>short:</source>
        <translation>short：</translation>
    </message>
    <message>
        <source>unsigned short:</source>
        <translation>unsigned short：</translation>
    </message>
    <message>
        <source>int:</source>
        <translation>int：</translation>
    </message>
    <message>
        <source>unsigned int:</source>
        <translation>unsigned int：</translation>
    </message>
    <message>
        <source>long:</source>
        <translation>long：</translation>
    </message>
    <message>
        <source>unsigned long:</source>
        <translation>unsigned long：</translation>
    </message>
    <message>
        <source>int64:</source>
        <translation>int64：</translation>
    </message>
    <message>
        <source>unsigned int64:</source>
        <translation>unsigned int64：</translation>
    </message>
    <message>
        <source>Floating-point</source>
        <translation>浮點數</translation>
    </message>
    <message>
        <source>float:</source>
        <translation>float：</translation>
    </message>
    <message>
        <source>double:</source>
        <translation>double：</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Window SYSTIEM:</source>
        <translation>系統時間：</translation>
    </message>
    <message>
        <source>Misc</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>GUID:</source>
        <translation>GUID：</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Latin1:</source>
        <translation>Latin1：</translation>
    </message>
    <message>
        <source>Utf8:</source>
        <translation>UTF-8：</translation>
    </message>
    <message>
        <source>Utf16:</source>
        <translation>UTF-16：</translation>
    </message>
    <message>
        <source>Ucs4:</source>
        <translation>UCS-4：</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Mouse Mode</source>
        <translation>滑鼠模式</translation>
    </message>
    <message>
        <source>Click</source>
        <translation>按一下</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>指向</translation>
    </message>
    <message>
        <source>Inspect text</source>
        <translation>檢視文字</translation>
    </message>
    <message>
        <source>Inspect Rx Data</source>
        <translation>檢視接收資料</translation>
    </message>
    <message>
        <source>Inspect Tx Data</source>
        <translation>檢視傳送資料</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>選項</translation>
    </message>
    <message>
        <source>Hex numbers</source>
        <translation>十六進位數字</translation>
    </message>
    <message>
        <source>Big-endian</source>
        <translation>大端序</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>無</translation>
    </message>
</context>
<context>
    <name>ItemDocument</name>
    <message>
        <source>Not a regular file</source>
        <translation>不是一般檔案</translation>
    </message>
</context>
<context>
    <name>LinkHealthWindow</name>
    <message>
        <source>Requests and replies</source>
        <translation>請求與回應</translation>
    </message>
    <message>
        <source>RTT min</source>
        <translation>往返時間最小值</translation>
    </message>
    <message>
        <source>p50</source>
        <translation>p50</translation>
    </message>
    <message>
        <source>p99</source>
        <translation>p99</translation>
    </message>
    <message>
        <source>max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Replies</source>
        <translation>回應</translation>
    </message>
    <message>
        <source>Replies missing</source>
        <translation>遺失回應</translation>
    </message>
    <message>
        <source>Reply window</source>
        <translation>回應視窗</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source>A reply is the first one received within this time after a send</source>
        <translation>回應是傳送後在此時間內收到的第一筆資料</translation>
    </message>
    <message>
        <source>Frame checks</source>
        <translation>訊框檢查</translation>
    </message>
    <message>
        <source>Checksum failures</source>
        <translation>檢查碼錯誤</translation>
    </message>
    <message>
        <source>Sequence gaps</source>
        <translation>序號缺口</translation>
    </message>
    <message>
        <source>Sequence repeats</source>
        <translation>序號重複</translation>
    </message>
    <message>
        <source>UART errors</source>
        <translation>UART 錯誤</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>訊框錯誤</translation>
    </message>
    <message>
        <source>Overrun</source>
        <translation>溢位</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>同位檢查</translation>
    </message>
    <message>
        <source>Break</source>
        <translation>中斷</translation>
    </message>
    <message>
        <source>Buffer overrun</source>
        <translation>緩衝區溢位</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重設</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>第 %1 個，共 %2 個</translation>
    </message>
    <message>
        <source>replies: frames of the receive protocol</source>
        <translation>回應：接收協定的訊框</translation>
    </message>
    <message>
        <source>replies: any chunk</source>
        <translation>回應：任意資料塊</translation>
    </message>
    <message>
        <source>no role</source>
        <translation>未指定角色</translation>
    </message>
    <message>
        <source>not available</source>
        <translation>無法使用</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Dialogue</source>
        <translation>對話</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>TXP Editor</source>
        <translation>協定編輯</translation>
    </message>
    <message>
        <source>TXPSet Editor</source>
        <translation>協定集</translation>
    </message>
    <message>
        <source>Instruct Set</source>
        <translation>指令集</translation>
    </message>
    <message>
        <source>History</source>
        <translation>歷史</translation>
    </message>
    <message>
        <source>Inspect</source>
        <translation>檢視</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message>
        <source>About Dorvane</source>
        <translation>關於 Dorvane</translation>
    </message>
    <message>
        <source>TX Protocol Explorer</source>
        <translation>傳送協定瀏覽器</translation>
    </message>
    <message>
        <source>TX Protocol Editor</source>
        <translation>傳送協定編輯器</translation>
    </message>
    <message>
        <source>Histroy</source>
        <translation>歷史</translation>
    </message>
    <message>
        <source>RX:</source>
        <translation>接收：</translation>
    </message>
    <message>
        <source>TX:</source>
        <translation>傳送：</translation>
    </message>
    <message>
        <source>Reset Counter</source>
        <translation>計數歸零</translation>
    </message>
    <message>
        <source>Get Latest Version</source>
        <translation>取得最新版本</translation>
    </message>
    <message>
        <source>The help page is not installed.</source>
        <translation>未安裝說明頁面。</translation>
    </message>
    <message>
        <source>Dorvane Help</source>
        <translation>Dorvane 說明</translation>
    </message>
    <message>
        <source>No viewer could be started for the help page; it is shown in a window of its own.</source>
        <translation>無法啟動說明頁面的檢視器，已在獨立視窗中顯示。</translation>
    </message>
    <message>
        <source>RX Frames</source>
        <translation>接收訊框</translation>
    </message>
    <message>
        <source>Timing</source>
        <translation>時序</translation>
    </message>
    <message>
        <source>Link Health</source>
        <translation>鏈路健康</translation>
    </message>
</context>
<context>
    <name>NetChannelWidget</name>
    <message>
        <source>Port</source>
        <translation>連接埠</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an address of this host</source>
        <translation>&quot;%1&quot; 不是本機的位址</translation>
    </message>
    <message>
        <source>Select Protocol</source>
        <translation>選擇協定</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>TCP Client</source>
        <translation>TCP 用戶端</translation>
    </message>
    <message>
        <source>TCP Server</source>
        <translation>TCP 伺服器</translation>
    </message>
    <message>
        <source>Auto Local Host</source>
        <translation>自動選擇本機位址</translation>
    </message>
    <message>
        <source>Local Host</source>
        <translation>本機位址</translation>
    </message>
    <message>
        <source>Remote Host</source>
        <translation>遠端主機</translation>
    </message>
    <message>
        <source>Multicast Address:</source>
        <translation>多播位址：</translation>
    </message>
    <message>
        <source>empty for unicast</source>
        <translation>單播時留空</translation>
    </message>
    <message>
        <source>Protocol Type</source>
        <translation>協定類型</translation>
    </message>
    <message>
        <source>Client List</source>
        <translation>用戶端清單</translation>
    </message>
    <message>
        <source>the address or port was refused</source>
        <translation>位址或連接埠遭拒絕</translation>
    </message>
    <message>
        <source>Unable to listen on %1:%2: %3</source>
        <translation>無法在 %1:%2 上監聽：%3</translation>
    </message>
    <message>
        <source>Unable to open the UDP socket on %1:%2: %3</source>
        <translation>無法在 %1:%2 上開啟 UDP 通訊端：%3</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>中斷連線</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>連線</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>%1:%2 closed the connection</source>
        <translation>%1:%2 關閉了連線</translation>
    </message>
    <message>
        <source>Auto Reconnect</source>
        <translation>自動重新連線</translation>
    </message>
    <message>
        <source>Connect again, after 0.5 s and up to every 10 s, when the connection fails or ends, until you disconnect</source>
        <translation>連線失敗或結束時重新連線，先隔 0.5 秒，之後最長每 10 秒一次，直到您中斷連線</translation>
    </message>
    <message>
        <source>Send To</source>
        <translation>傳送到</translation>
    </message>
    <message>
        <source>All Clients</source>
        <translation>所有用戶端</translation>
    </message>
    <message>
        <source>Where the server&apos;s sends go: every client, or one</source>
        <translation>伺服器傳送的目標：所有用戶端，或其中一個</translation>
    </message>
    <message>
        <source>%1 (waiting)</source>
        <translation>%1（等待中）</translation>
    </message>
    <message>
        <source>%1 (gone)</source>
        <translation>%1（已離開）</translation>
    </message>
    <message>
        <source>Three clients are served; this one waits until one of them leaves</source>
        <translation>已在服務三個用戶端；此用戶端等待其中一個離開</translation>
    </message>
    <message>
        <source> (gone)</source>
        <translation>（已離開）</translation>
    </message>
</context>
<context>
    <name>ProtocolExportDialog</name>
    <message>
        <source>The protocol&apos;s filter name in Wireshark</source>
        <translation>協定在 Wireshark 中的篩選器名稱</translation>
    </message>
    <message>
        <source>The prefix of every name in the header</source>
        <translation>標頭檔中每個名稱的前綴</translation>
    </message>
    <message>
        <source>Protocol name:</source>
        <translation>協定名稱：</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>連接埠：</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>檔案：</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>Export Wireshark Dissector</source>
        <translation>匯出 Wireshark 解析器</translation>
    </message>
    <message>
        <source>Export C Header</source>
        <translation>匯出 C 標頭檔</translation>
    </message>
    <message>
        <source>Wireshark Lua dissector (*.lua)</source>
        <translation>Wireshark Lua 解析器 (*.lua)</translation>
    </message>
    <message>
        <source>C header (*.h)</source>
        <translation>C 標頭檔 (*.h)</translation>
    </message>
    <message>
        <source>The export would replace the protocol document itself.</source>
        <translation>匯出會覆寫協定文件本身。</translation>
    </message>
    <message>
        <source>The protocol cannot be exported.
%1</source>
        <translation>無法匯出該協定。
%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>There is no active channel, no protocol can be sent!</source>
        <translation>沒有作用中的通道，無法傳送協定！</translation>
    </message>
    <message>
        <source>Periodic sending has been turned on: %1</source>
        <translation>週期傳送已開啟：%1</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>產生器已重設！</translation>
    </message>
    <message>
        <source>A problem occurred during build. Check data validity.</source>
        <translation>建置時發生問題，請檢查資料是否有效。</translation>
    </message>
    <message>
        <source>Unable to open file</source>
        <translation>無法開啟檔案</translation>
    </message>
    <message>
        <source>These command-line arguments were not opened:</source>
        <translation>以下命令列引數未能開啟：</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>資料夾不存在。</translation>
    </message>
    <message>
        <source>The folder is not a directory.</source>
        <translation>該資料夾不是目錄。</translation>
    </message>
    <message>
        <source>A folder of that name is in the way.</source>
        <translation>已有同名資料夾，無法寫入。</translation>
    </message>
    <message>
        <source>The file is read-only.</source>
        <translation>檔案為唯讀。</translation>
    </message>
    <message>
        <source>The folder is not writable.</source>
        <translation>資料夾無法寫入。</translation>
    </message>
    <message>
        <source>The file could not be written; the disk may be full.</source>
        <translation>無法寫入檔案，磁碟可能已滿。</translation>
    </message>
    <message>
        <source>Unable to save file</source>
        <translation>無法儲存檔案</translation>
    </message>
    <message>
        <source>Open protocol</source>
        <translation>開啟協定</translation>
    </message>
    <message>
        <source>Dorvane tx-protocol (*.dvptc)</source>
        <translation>Dorvane 傳送協定 (*.dvptc)</translation>
    </message>
    <message>
        <source>Open protocol set</source>
        <translation>開啟協定集</translation>
    </message>
    <message>
        <source>Dorvane protocol set (*.dvpts)</source>
        <translation>Dorvane 協定集 (*.dvpts)</translation>
    </message>
    <message>
        <source>Open instruct set</source>
        <translation>開啟指令集</translation>
    </message>
    <message>
        <source>Dorvane instruct set (*.dvits)</source>
        <translation>Dorvane 指令集 (*.dvits)</translation>
    </message>
    <message>
        <source>Dorvane was ended with unsaved changes, which were kept. Restore them?</source>
        <translation>Dorvane 上次結束時有未儲存的變更，這些變更已保留。是否還原？</translation>
    </message>
    <message>
        <source>Little Endian</source>
        <translation>小端序</translation>
    </message>
    <message>
        <source>Big Endian</source>
        <translation>大端序</translation>
    </message>
</context>
<context>
    <name>RttHistogram</name>
    <message>
        <source>No round trips yet</source>
        <translation>尚無往返資料</translation>
    </message>
    <message>
        <source>peak %1</source>
        <translation>峰值 %1</translation>
    </message>
</context>
<context>
    <name>RxFieldTable</name>
    <message>
        <source>Name</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型別</translation>
    </message>
    <message>
        <source>Byte Order</source>
        <translation>位元組順序</translation>
    </message>
    <message>
        <source>Role</source>
        <translation>角色</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>參數</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>繪圖</translation>
    </message>
    <message>
        <source>Coefficient</source>
        <translation>係數</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>啟用</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>檢查</translation>
    </message>
    <message>
        <source>Unsupported data type %1</source>
        <translation>不支援的資料型別 %1</translation>
    </message>
    <message>
        <source>Only values, flags and blocks can be received</source>
        <translation>只能接收數值、旗標和資料區塊</translation>
    </message>
    <message>
        <source>A block needs a positive element count</source>
        <translation>資料區塊的元素個數必須為正數</translation>
    </message>
    <message>
        <source>A flag needs at least one numeric constant</source>
        <translation>旗標至少需要一個數值常數</translation>
    </message>
    <message>
        <source>The field cannot be built</source>
        <translation>無法建置該欄位</translation>
    </message>
    <message>
        <source>The protocol has no fields</source>
        <translation>協定中沒有欄位</translation>
    </message>
    <message>
        <source>Row %1: %2</source>
        <translation>第 %1 列：%2</translation>
    </message>
    <message>
        <source>The protocol has no enabled value field</source>
        <translation>協定中沒有已啟用的數值欄位</translation>
    </message>
    <message>
        <source>The protocol cannot be built</source>
        <translation>無法建置該協定</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>型別 %1</translation>
    </message>
    <message>
        <source>Big Endian</source>
        <translation>大端序</translation>
    </message>
    <message>
        <source>Little Endian</source>
        <translation>小端序</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Head Flag</source>
        <translation>訊框頭旗標</translation>
    </message>
    <message>
        <source>Tail Flag</source>
        <translation>訊框尾旗標</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>資料區塊</translation>
    </message>
    <message>
        <source>Field %1</source>
        <translation>欄位 %1</translation>
    </message>
</context>
<context>
    <name>RxFrameWindow</name>
    <message>
        <source>Stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>協定</translation>
    </message>
    <message>
        <source>New Protocol</source>
        <translation>新增協定</translation>
    </message>
    <message>
        <source>Open Protocol</source>
        <translation>開啟協定</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>儲存協定</translation>
    </message>
    <message>
        <source>Save Protocol As</source>
        <translation>協定另存新檔</translation>
    </message>
    <message>
        <source>New Field</source>
        <translation>新增欄位</translation>
    </message>
    <message>
        <source>Insert Field</source>
        <translation>插入欄位</translation>
    </message>
    <message>
        <source>Delete Field</source>
        <translation>刪除欄位</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Start Parsing</source>
        <translation>開始解析</translation>
    </message>
    <message>
        <source>Packet Mode</source>
        <translation>封包模式</translation>
    </message>
    <message>
        <source>Plot</source>
        <translation>曲線圖</translation>
    </message>
    <message>
        <source>Pause Plot</source>
        <translation>暫停曲線圖</translation>
    </message>
    <message>
        <source>Cursors</source>
        <translation>游標</translation>
    </message>
    <message>
        <source>Autoscale</source>
        <translation>自動縮放</translation>
    </message>
    <message>
        <source>Fixed range: lowest value</source>
        <translation>固定範圍：最小值</translation>
    </message>
    <message>
        <source>Fixed range: highest value</source>
        <translation>固定範圍：最大值</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Time window</source>
        <translation>時間視窗</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Refresh rate</source>
        <translation>更新頻率</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>匯出 CSV</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <translation>匯出圖片</translation>
    </message>
    <message>
        <source>Field 1</source>
        <translation>欄位 1</translation>
    </message>
    <message>
        <source>Open rx-protocol</source>
        <translation>開啟接收協定</translation>
    </message>
    <message>
        <source>Dorvane rx-protocol (*.dvprx)</source>
        <translation>Dorvane 接收協定 (*.dvprx)</translation>
    </message>
    <message>
        <source>Save RX Protocol</source>
        <translation>儲存接收協定</translation>
    </message>
    <message>
        <source>RX protocol has changed, do you want save it?</source>
        <translation>接收協定已變更，是否儲存？</translation>
    </message>
    <message>
        <source>Save rx-protocol</source>
        <translation>儲存接收協定</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Parsing cannot start: %1</source>
        <translation>無法開始解析：%1</translation>
    </message>
    <message>
        <source>Parsing cannot start: there is no frame watcher</source>
        <translation>無法開始解析：沒有訊框監視器</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The protocol cannot be built</source>
        <translation>無法建置該協定</translation>
    </message>
    <message>
        <source>Stop Parsing</source>
        <translation>停止解析</translation>
    </message>
    <message>
        <source>Parsing packets</source>
        <translation>正在解析封包</translation>
    </message>
    <message>
        <source>Parsing the stream</source>
        <translation>正在解析資料流</translation>
    </message>
    <message>
        <source>%1 frames/s   decoded %2   skipped %3 bytes   dropped %4 frames, %5 packets, %6 bytes</source>
        <translation>%1 訊框/秒   已解碼 %2   略過 %3 位元組   捨棄 %4 訊框、%5 個封包、%6 位元組</translation>
    </message>
    <message>
        <source>Exporting %1 values to %2</source>
        <translation>正在匯出 %1 個值到 %2</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已匯出到 %1</translation>
    </message>
    <message>
        <source>Export the whole history or the visible range?</source>
        <translation>匯出全部歷史還是可見範圍？</translation>
    </message>
    <message>
        <source>Whole History</source>
        <translation>全部歷史</translation>
    </message>
    <message>
        <source>Visible Range</source>
        <translation>可見範圍</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV 檔案 (*.csv)</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG 圖片 (*.png)</translation>
    </message>
    <message>
        <source>Roles…</source>
        <translation>角色…</translation>
    </message>
    <message>
        <source>Checksum and counter fields</source>
        <translation>檢查碼與計數器欄位</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>   checksum failures %1</source>
        <translation>   檢查碼錯誤 %1</translation>
    </message>
    <message>
        <source>   sequence gaps %1, repeats %2</source>
        <translation>   序號缺漏 %1，重複 %2</translation>
    </message>
</context>
<context>
    <name>RxLineList</name>
    <message>
        <source>Line</source>
        <translation>線</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>色彩</translation>
    </message>
    <message>
        <source>Own Axis</source>
        <translation>獨立座標軸</translation>
    </message>
    <message>
        <source>Line colour</source>
        <translation>曲線色彩</translation>
    </message>
</context>
<context>
    <name>RxPlot</name>
    <message>
        <source>Time (s)</source>
        <translation>時間（秒）</translation>
    </message>
    <message>
        <source>Δt = %1 s</source>
        <translation>Δt = %1 秒</translation>
    </message>
    <message>
        <source>   Δy = %1 (%2)</source>
        <translation>   Δy = %1（%2）</translation>
    </message>
</context>
<context>
    <name>RxRolesDialog</name>
    <message>
        <source>Field Roles</source>
        <translation>欄位角色</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The frame carries a checksum</source>
        <translation>訊框帶有檢查碼</translation>
    </message>
    <message>
        <source>CRC model</source>
        <translation>CRC 模型</translation>
    </message>
    <message>
        <source>Checksum field</source>
        <translation>檢查碼欄位</translation>
    </message>
    <message>
        <source>First covered field</source>
        <translation>檢查起始欄位</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Counter field</source>
        <translation>計數器欄位</translation>
    </message>
</context>
<context>
    <name>RxValueTable</name>
    <message>
        <source>Field</source>
        <translation>欄位</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>原始值</translation>
    </message>
    <message>
        <source>Scaled</source>
        <translation>換算值</translation>
    </message>
</context>
<context>
    <name>SaveFileAskDialog</name>
    <message>
        <source>Save Prompt</source>
        <translation>儲存提示</translation>
    </message>
    <message>
        <source>The document has been changed, whether to save the changes?</source>
        <translation>文件已變更，是否儲存變更？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Do Not Save</source>
        <translation>不儲存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SerialChannelWidget</name>
    <message>
        <source>Select Serial Port</source>
        <translation>選擇序列埠</translation>
    </message>
    <message>
        <source>Port or device path</source>
        <translation>連接埠或裝置路徑</translation>
    </message>
    <message>
        <source>Choose a port, or type a device path such as /dev/ttyUSB0</source>
        <translation>選擇一個連接埠，或輸入裝置路徑，例如 /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>描述：</translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <translation>製造商：</translation>
    </message>
    <message>
        <source>Serial number:</source>
        <translation>序號：</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>位置：</translation>
    </message>
    <message>
        <source>Vendor Identifier:</source>
        <translation>廠商識別碼：</translation>
    </message>
    <message>
        <source>Product Identifier:</source>
        <translation>產品識別碼：</translation>
    </message>
    <message>
        <source>Select Parameters</source>
        <translation>選擇參數</translation>
    </message>
    <message>
        <source>Flow Control</source>
        <translation>流量控制</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>鮑率</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>資料位元</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>停止位元</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>同位檢查</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自訂</translation>
    </message>
    <message>
        <source>No</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇同位</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶同位</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>標記</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>RTS/CTS</source>
        <translation>RTS/CTS</translation>
    </message>
    <message>
        <source>XON/XOFF</source>
        <translation>XON/XOFF</translation>
    </message>
    <message>
        <source>Choose a serial port, or type the path of its device.</source>
        <translation>請選擇一個序列埠，或輸入其裝置路徑。</translation>
    </message>
    <message>
        <source>The baud rate &quot;%1&quot; is not valid: type a whole number of bits per second above 0.</source>
        <translation>鮑率 &quot;%1&quot; 無效：請輸入大於 0 的整數（位元/秒）。</translation>
    </message>
    <message>
        <source>the port refused these parameters</source>
        <translation>連接埠拒絕了這些參數</translation>
    </message>
    <message>
        <source>Unable to open the serial port %1: %2</source>
        <translation>無法開啟序列埠 %1：%2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>Type a rate</source>
        <translation>輸入速率</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Line Control</source>
        <translation>線路控制</translation>
    </message>
    <message>
        <source>RTS</source>
        <translation>RTS</translation>
    </message>
    <message>
        <source>Request To Send: raised or lowered now, and so at the next open</source>
        <translation>請求傳送 (RTS)：立即拉高或拉低，下次開啟時亦然</translation>
    </message>
    <message>
        <source>DTR</source>
        <translation>DTR</translation>
    </message>
    <message>
        <source>Data Terminal Ready: raised or lowered now, and so at the next open</source>
        <translation>資料終端就緒 (DTR)：立即拉高或拉低，下次開啟時亦然</translation>
    </message>
    <message>
        <source>Send Break</source>
        <translation>傳送 Break 訊號</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source>How long the line is held in the break state</source>
        <translation>線路保持中斷狀態的時間</translation>
    </message>
    <message>
        <source>Auto Reconnect</source>
        <translation>自動重新連線</translation>
    </message>
    <message>
        <source>Reopen the port when its device returns after it went away</source>
        <translation>裝置中斷後重新出現時重新開啟連接埠</translation>
    </message>
    <message>
        <source>RTS/CTS flow control drives RTS</source>
        <translation>RTS/CTS 流量控制正在控制 RTS</translation>
    </message>
    <message>
        <source>%1 is %2</source>
        <translation>%1 為 %2</translation>
    </message>
    <message>
        <source>on</source>
        <translation>開</translation>
    </message>
    <message>
        <source>off</source>
        <translation>關</translation>
    </message>
    <message>
        <source>%1: not known</source>
        <translation>%1：未知</translation>
    </message>
    <message>
        <source>This port reports no modem lines (%1)</source>
        <translation>此連接埠不回報數據機線路 (%1)</translation>
    </message>
    <message>
        <source>set: %1</source>
        <translation>實際：%1</translation>
    </message>
    <message>
        <source>The driver set %1 baud instead of the %2 asked for</source>
        <translation>驅動程式設定的鮑率為 %1，而不是要求的 %2</translation>
    </message>
</context>
<context>
    <name>SerialPortChannel</name>
    <message>
        <source>RTS/CTS flow control drives RTS</source>
        <translation>RTS/CTS 流量控制正在控制 RTS</translation>
    </message>
    <message>
        <source>not available (%1)</source>
        <translation>無法使用（%1）</translation>
    </message>
    <message>
        <source>%1 was disconnected (%2)</source>
        <translation>%1 已中斷連線（%2）</translation>
    </message>
</context>
<context>
    <name>TimingButtons</name>
    <message>
        <source>Coarse timer</source>
        <translation>粗略計時器</translation>
    </message>
    <message>
        <source>Precise timer</source>
        <translation>精確計時器</translation>
    </message>
    <message>
        <source>High resolution timers</source>
        <translation>高解析度計時器</translation>
    </message>
    <message>
        <source>Busy-waits on a nanosecond clock: the most exact periods, at the cost of one busy core</source>
        <translation>在奈秒時鐘上忙碌等待：週期最精確，但會占滿一個處理器核心</translation>
    </message>
</context>
<context>
    <name>TimingHistogram</name>
    <message>
        <source>No periods yet</source>
        <translation>尚無週期資料</translation>
    </message>
    <message>
        <source>%1 µs</source>
        <translation>%1 微秒</translation>
    </message>
</context>
<context>
    <name>TimingWindow</name>
    <message>
        <source>min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>mean</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>p50</source>
        <translation>p50</translation>
    </message>
    <message>
        <source>p99</source>
        <translation>p99</translation>
    </message>
    <message>
        <source>max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>匯出 CSV</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重設</translation>
    </message>
    <message>
        <source>Period (µs)</source>
        <translation>週期（微秒）</translation>
    </message>
    <message>
        <source>RX gap (µs)</source>
        <translation>接收間隔（微秒）</translation>
    </message>
    <message>
        <source>Requested period</source>
        <translation>要求週期</translation>
    </message>
    <message>
        <source>Achieved rate</source>
        <translation>實際速率</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>寫入次數</translation>
    </message>
    <message>
        <source>Late ticks</source>
        <translation>延遲節拍</translation>
    </message>
    <message>
        <source>Skipped ticks</source>
        <translation>略過節拍</translation>
    </message>
    <message>
        <source>Periodic sending runs: %1 ms, %2</source>
        <translation>週期傳送進行中：%1 毫秒，%2</translation>
    </message>
    <message>
        <source>Periodic sending stopped; the figures of its last run</source>
        <translation>週期傳送已停止；以下為最近一次的資料</translation>
    </message>
    <message>
        <source>No periodic sending yet</source>
        <translation>尚未進行週期傳送</translation>
    </message>
    <message>
        <source>%1 µs (%2 Hz)</source>
        <translation>%1 微秒（%2 Hz）</translation>
    </message>
    <message>
        <source>%1 Hz</source>
        <translation>%1 Hz</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV 檔案 (*.csv)</translation>
    </message>
</context>
<context>
    <name>TransferQueue</name>
    <message>
        <source>%1 cannot be read (%2)</source>
        <translation>無法讀取 %1（%2）</translation>
    </message>
    <message>
        <source>The send was cancelled</source>
        <translation>傳送已取消</translation>
    </message>
    <message>
        <source>The channel closed before the send was complete</source>
        <translation>傳送完成前通道已關閉</translation>
    </message>
    <message>
        <source>The channel refused the bytes</source>
        <translation>通道拒絕了這些位元組</translation>
    </message>
</context>
<context>
    <name>TransmitWindow</name>
    <message>
        <source>Transmit Window</source>
        <translation>傳送視窗</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>Switch Input Mode</source>
        <translation>切換輸入模式</translation>
    </message>
    <message>
        <source>Input Mode: Hex</source>
        <translation>輸入模式：十六進位</translation>
    </message>
    <message>
        <source>Clear Input</source>
        <translation>清除輸入</translation>
    </message>
    <message>
        <source>Show/Hide Calc Tools</source>
        <translation>顯示/隱藏計算工具</translation>
    </message>
    <message>
        <source>Show/Hide CRC Tools</source>
        <translation>顯示/隱藏 CRC 工具</translation>
    </message>
    <message>
        <source>Show/Hide Pacing and File Tools</source>
        <translation>顯示/隱藏節奏與檔案工具</translation>
    </message>
    <message>
        <source>Add To Instruct Set</source>
        <translation>新增到指令集</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>啟用週期傳送</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>計算機</translation>
    </message>
    <message>
        <source>Decimal input</source>
        <translation>十進位輸入</translation>
    </message>
    <message>
        <source>Hex out</source>
        <translation>十六進位輸出</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>插入</translation>
    </message>
    <message>
        <source>CRC</source>
        <translation>CRC</translation>
    </message>
    <message>
        <source>CRC param model</source>
        <translation>CRC 參數模型</translation>
    </message>
    <message>
        <source>Check sum</source>
        <translation>檢查碼</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>計算</translation>
    </message>
    <message>
        <source>Text Pacing</source>
        <translation>文字傳送節奏</translation>
    </message>
    <message>
        <source>Line end</source>
        <translation>行尾</translation>
    </message>
    <message>
        <source>None</source>
        <translation>無</translation>
    </message>
    <message>
        <source>Appended to each send in text mode</source>
        <translation>文字模式下附加在每次傳送之後</translation>
    </message>
    <message>
        <source>Char delay</source>
        <translation>字元延遲</translation>
    </message>
    <message>
        <source>Pause after each character in text mode</source>
        <translation>文字模式下每個字元後暫停</translation>
    </message>
    <message>
        <source>Line delay</source>
        <translation>行延遲</translation>
    </message>
    <message>
        <source>Pause after each line in text mode</source>
        <translation>文字模式下每行後暫停</translation>
    </message>
    <message>
        <source>Send File</source>
        <translation>傳送檔案</translation>
    </message>
    <message>
        <source>Chunk</source>
        <translation>區塊大小</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>延遲</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>A file is being sent already</source>
        <translation>已有檔案正在傳送</translation>
    </message>
    <message>
        <source>Unable to open file: %1</source>
        <translation>無法開啟檔案：%1</translation>
    </message>
    <message>
        <source>There is no active channel, no protocol can be sent!</source>
        <translation>沒有作用中的通道，無法傳送協定！</translation>
    </message>
    <message>
        <source>Sending %1</source>
        <translation>正在傳送 %1</translation>
    </message>
    <message>
        <source>File sent</source>
        <translation>檔案已傳送</translation>
    </message>
    <message>
        <source>The file send stopped</source>
        <translation>檔案傳送已停止</translation>
    </message>
    <message>
        <source>%1 does not fit in a %2</source>
        <translation>%1 超出了 %2 的範圍</translation>
    </message>
    <message>
        <source>Input Mode: Text</source>
        <translation>輸入模式：文字</translation>
    </message>
    <message>
        <source>Not sent: not hex digits: %1</source>
        <translation>未傳送：不是十六進位數字：%1</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止傳送</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
</context>
<context>
    <name>TxFieldEditor</name>
    <message>
        <source>Field name</source>
        <translation>欄位名稱</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>資料型別</translation>
    </message>
    <message>
        <source>Byte order: B big endian, L little endian</source>
        <translation>位元組順序：B 為大端序，L 為小端序</translation>
    </message>
    <message>
        <source>Enable or disable the field</source>
        <translation>啟用或停用該欄位</translation>
    </message>
    <message>
        <source>Delete the field</source>
        <translation>刪除該欄位</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Copy above</source>
        <translation>複製到上方</translation>
    </message>
    <message>
        <source>Copy below</source>
        <translation>複製到下方</translation>
    </message>
</context>
<context>
    <name>TxProtocolBuildBar</name>
    <message>
        <source>Build</source>
        <translation>建置</translation>
    </message>
    <message>
        <source>Reset Generator</source>
        <translation>重設產生器</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>啟用週期傳送</translation>
    </message>
    <message>
        <source>Period of the periodic sending</source>
        <translation>週期傳送的週期</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>產生器已重設！</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止傳送</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
</context>
<context>
    <name>TxProtocolEditor</name>
    <message>
        <source>Protocol Editor</source>
        <translation>協定編輯器</translation>
    </message>
    <message>
        <source>No Protocol Document</source>
        <translation>無協定文件</translation>
    </message>
    <message>
        <source>Fields:</source>
        <translation>欄位數：</translation>
    </message>
    <message>
        <source>Bytes:</source>
        <translation>位元組數：</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>標題</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型別</translation>
    </message>
    <message>
        <source>Endian</source>
        <translation>位元組順序</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>儲存協定</translation>
    </message>
    <message>
        <source>Protocol has changed, do you want save it?</source>
        <translation>協定已變更，是否儲存？</translation>
    </message>
    <message>
        <source>Save protocol</source>
        <translation>儲存協定</translation>
    </message>
    <message>
        <source>Dorvane protocol (*.dvptc)</source>
        <translation>Dorvane 協定 (*.dvptc)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已匯出到 %1</translation>
    </message>
</context>
<context>
    <name>TxProtocolSet</name>
    <message>
        <source>The file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>它不是一般檔案。</translation>
    </message>
    <message>
        <source>The file is too large for a protocol set.</source>
        <translation>檔案過大，不是協定集。</translation>
    </message>
    <message>
        <source>The set lists more than %1 files.</source>
        <translation>該協定集列出的檔案超過 %1 個。</translation>
    </message>
    <message>
        <source>It is not a protocol-set file.</source>
        <translation>它不是協定集檔案。</translation>
    </message>
    <message>
        <source>It is not a valid protocol-set file (%1).</source>
        <translation>它不是有效的協定集檔案（%1）。</translation>
    </message>
</context>
<context>
    <name>TxProtocolSetItemEditor</name>
    <message>
        <source>Edit the protocol</source>
        <translation>編輯該協定</translation>
    </message>
    <message>
        <source>Enable or disable</source>
        <translation>啟用或停用</translation>
    </message>
    <message>
        <source>Remove from the set</source>
        <translation>從協定集中移除</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
    <message>
        <source>Period Send</source>
        <translation>週期傳送</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>%1
This protocol cannot be built into a frame.</source>
        <translation>%1
該協定無法建置成訊框。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>TxProtocolSetWindow</name>
    <message>
        <source>File Name</source>
        <translation>檔名</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>目錄</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>間隔</translation>
    </message>
    <message>
        <source>Add protocol files to send them in turn</source>
        <translation>新增協定檔案以依序傳送</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>New Protocol Set</source>
        <translation>新增協定集</translation>
    </message>
    <message>
        <source>Open Protocol Set</source>
        <translation>開啟協定集</translation>
    </message>
    <message>
        <source>Save Protocol Set</source>
        <translation>儲存協定集</translation>
    </message>
    <message>
        <source>Save Protocol Set As...</source>
        <translation>協定集另存新檔...</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>新增檔案</translation>
    </message>
    <message>
        <source>Insert File</source>
        <translation>插入檔案</translation>
    </message>
    <message>
        <source>Position of the inserted file</source>
        <translation>插入檔案的位置</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編輯</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>啟用</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Select Value Set</source>
        <translation>選擇值組</translation>
    </message>
    <message>
        <source>Period Send Options</source>
        <translation>週期傳送選項</translation>
    </message>
    <message>
        <source>Transmite</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>Reset Generator</source>
        <translation>重設產生器</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>啟用週期傳送</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>傳送</translation>
    </message>
    <message>
        <source>No Protocol Set</source>
        <translation>無協定集</translation>
    </message>
    <message>
        <source>Save Solution</source>
        <translation>儲存協定集</translation>
    </message>
    <message>
        <source>Solution has changed, do you want save it?</source>
        <translation>協定集已變更，是否儲存？</translation>
    </message>
    <message>
        <source>Save protocol set</source>
        <translation>儲存協定集</translation>
    </message>
    <message>
        <source>Dorvane protocol set (*.dvpts)</source>
        <translation>Dorvane 協定集 (*.dvpts)</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>None of the protocol files of the set could be loaded:</source>
        <translation>該協定集中的協定檔案皆無法載入：</translation>
    </message>
    <message>
        <source>These protocol files of the set are missing or unreadable and were skipped:</source>
        <translation>該協定集中的下列協定檔案遺失或無法讀取，已略過：</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>……另有 %1 個</translation>
    </message>
    <message>
        <source>Add protocols</source>
        <translation>新增協定</translation>
    </message>
    <message>
        <source>Dorvane protocol (*.dvptc)</source>
        <translation>Dorvane 協定 (*.dvptc)</translation>
    </message>
    <message>
        <source>These files are not readable protocol files and were not added:</source>
        <translation>下列檔案不是可讀取的協定檔案，未新增：</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>產生器已重設！</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止傳送</translation>
    </message>
    <message>
        <source>Protocol Set Editor</source>
        <translation>協定集編輯器</translation>
    </message>
    <message>
        <source>File Editor</source>
        <translation>檔案編輯器</translation>
    </message>
</context>
<context>
    <name>TxProtocolToolBar</name>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
    <message>
        <source>New Protocol</source>
        <translation>新增協定</translation>
    </message>
    <message>
        <source>Open Protocol</source>
        <translation>開啟協定</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>儲存協定</translation>
    </message>
    <message>
        <source>Save Protocol (%1 saves to the same file)</source>
        <translation>儲存協定（%1 儲存到同一檔案）</translation>
    </message>
    <message>
        <source>New Field</source>
        <translation>新增欄位</translation>
    </message>
    <message>
        <source>Insert Field At</source>
        <translation>插入欄位於</translation>
    </message>
    <message>
        <source>Position of the inserted field</source>
        <translation>插入欄位的位置</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>啟用</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>New Value Set</source>
        <translation>新增值組</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>Export the current value set as a Wireshark dissector or a C header</source>
        <translation>將目前值組匯出為 Wireshark 解析器或 C 標頭檔</translation>
    </message>
</context>
<context>
    <name>TxValueColumn</name>
    <message>
        <source>Active</source>
        <translation>目前</translation>
    </message>
    <message>
        <source>Send this value set</source>
        <translation>傳送此值組</translation>
    </message>
    <message>
        <source>Delete Value Set</source>
        <translation>刪除值組</translation>
    </message>
</context>
<context>
    <name>TxValueEdit</name>
    <message>
        <source>inhiert from parent</source>
        <translation>繼承自上層</translation>
    </message>
    <message>
        <source>Edit Value</source>
        <translation>編輯值</translation>
    </message>
    <message>
        <source>Inherit From First Value Set</source>
        <translation>繼承第一個值組</translation>
    </message>
</context>
<context>
    <name>WdxRoolupWidget</name>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
</context>
</TS>
