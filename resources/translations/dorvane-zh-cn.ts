<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Dorvane</source>
        <translation>关于 Dorvane</translation>
    </message>
    <message>
        <source>Version %1, built with Qt %2</source>
        <translation>版本 %1，基于 Qt %2 构建</translation>
    </message>
    <message>
        <source>A workbench for engineers who talk to devices over serial ports, TCP and UDP: watch the traffic, send data once or periodically, and build frames from transmit protocols.</source>
        <translation>为通过串口、TCP 和 UDP 与设备通信的工程师打造的工作台：查看通信数据，单次或周期发送数据，并由发送协议构建数据帧。</translation>
    </message>
    <message>
        <source>Made by Quorvel.</source>
        <translation>由 Quorvel 出品。</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>关于 Qt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>(64-bit)</source>
        <translation>（64 位）</translation>
    </message>
    <message>
        <source>(32-bit)</source>
        <translation>（32 位）</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>%1: the name is not valid UTF-8</source>
        <translation>%1：文件名不是有效的 UTF-8</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1：文件不存在</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1：不是普通文件</translation>
    </message>
    <message>
        <source>%1: not a Dorvane document (.dvptc, .dvpts, .dvits, .dvprx)</source>
        <translation>%1：不是 Dorvane 文档（.dvptc、.dvpts、.dvits、.dvprx）</translation>
    </message>
</context>
<context>
    <name>Channel</name>
    <message>
        <source>The channel closed before the send was complete</source>
        <translation>发送完成前通道已关闭</translation>
    </message>
</context>
<context>
    <name>ChannelPage</name>
    <message>
        <source>Timing Strategy</source>
        <translation>定时策略</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>ChannelWindow</name>
    <message>
        <source>Serialport</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message>
        <source>No Active Channel</source>
        <translation>无活动通道</translation>
    </message>
    <message>
        <source>No Active Channel (%1)</source>
        <translation>无活动通道（%1）</translation>
    </message>
    <message>
        <source>The driver set %1 baud instead of %2</source>
        <translation>驱动程序设置的波特率为 %1，而不是 %2</translation>
    </message>
    <message>
        <source>Reconnecting …</source>
        <translation>正在重新连接…</translation>
    </message>
    <message>
        <source>Not on this port: %1</source>
        <translation>此端口不支持：%1</translation>
    </message>
</context>
<context>
    <name>DataTypeSelectDialog</name>
    <message>
        <source>Data Type</source>
        <translation>数据类型</translation>
    </message>
</context>
<context>
    <name>DialogueWindow</name>
    <message>
        <source>Log to File</source>
        <translation>记录到文件</translation>
    </message>
    <message>
        <source>capture.log, capture.bin or capture.pcapng</source>
        <translation>capture.log、capture.bin 或 capture.pcapng</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>文件：</translation>
    </message>
    <message>
        <source>Append to an existing file</source>
        <translation>追加到已有文件</translation>
    </message>
    <message>
        <source> MB</source>
        <translation> MB</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>从不</translation>
    </message>
    <message>
        <source>New file every:</source>
        <translation>文件分割大小：</translation>
    </message>
    <message>
        <source>Text log (*.log);;Raw received bytes (*.bin);;Packet capture (*.pcapng)</source>
        <translation>文本日志 (*.log);;接收的原始字节 (*.bin);;数据包捕获 (*.pcapng)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Switch Echo Mode</source>
        <translation>切换回显模式</translation>
    </message>
    <message>
        <source>Echo Mode: Hex</source>
        <translation>回显模式：十六进制</translation>
    </message>
    <message>
        <source>Clear Dialogue</source>
        <translation>清空对话</translation>
    </message>
    <message>
        <source>Echo Rx Data</source>
        <translation>回显接收数据</translation>
    </message>
    <message>
        <source>Echo Tx Data</source>
        <translation>回显发送数据</translation>
    </message>
    <message>
        <source>Display Timestamp</source>
        <translation>显示时间戳</translation>
    </message>
    <message>
        <source>Show data on a new line</source>
        <translation>数据另起一行显示</translation>
    </message>
    <message>
        <source>Insert Break</source>
        <translation>插入分隔线</translation>
    </message>
    <message>
        <source>Auto Line Wrap</source>
        <translation>自动换行</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>标尺</translation>
    </message>
    <message>
        <source>Ruler Clear</source>
        <translation>清除标尺</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>捕获</translation>
    </message>
    <message>
        <source>Pause View</source>
        <translation>暂停显示</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Find (%1)</source>
        <translation>查找（%1）</translation>
    </message>
    <message>
        <source>Unable to capture to %1: %2</source>
        <translation>无法捕获到 %1：%2</translation>
    </message>
    <message>
        <source>The capture to %1 stopped: %2
What was written before is kept.</source>
        <translation>捕获到 %1 已停止：%2
之前写入的内容已保留。</translation>
    </message>
    <message>
        <source>Capturing to %1 (%2)</source>
        <translation>正在捕获到 %1（%2）</translation>
    </message>
    <message>
        <source>Echo Mode: Text</source>
        <translation>回显模式：文本</translation>
    </message>
    <message>
        <source>Client %1 connected</source>
        <translation>客户端 %1 已连接</translation>
    </message>
    <message>
        <source>Client %1 disconnected</source>
        <translation>客户端 %1 已断开</translation>
    </message>
    <message>
        <source>Client %1 waiting: three clients are connected</source>
        <translation>客户端 %1 等待中：已有三个客户端连接</translation>
    </message>
</context>
<context>
    <name>EchoBreakWidget</name>
    <message>
        <source>Echo Break Options</source>
        <translation>回显分隔选项</translation>
    </message>
    <message>
        <source>Break symbole:</source>
        <translation>分隔符号：</translation>
    </message>
    <message>
        <source>Click to pick the colour of break lines</source>
        <translation>点击选择分隔线的颜色</translation>
    </message>
    <message>
        <source>Color:</source>
        <translation>颜色：</translation>
    </message>
    <message>
        <source>Repeat count:</source>
        <translation>重复次数：</translation>
    </message>
    <message>
        <source>Auto Insert</source>
        <translation>自动插入</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>帧</translation>
    </message>
    <message>
        <source>Reset Count</source>
        <translation>计数清零</translation>
    </message>
</context>
<context>
    <name>EchoFindBar</name>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>区分大小写</translation>
    </message>
    <message>
        <source>Highlight All</source>
        <translation>全部高亮</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>第 %1 个，共 %2 个</translation>
    </message>
</context>
<context>
    <name>EchoOptionWidget</name>
    <message>
        <source>Echo Options</source>
        <translation>回显选项</translation>
    </message>
    <message>
        <source>Always show the data on a new line</source>
        <translation>数据总是另起一行显示</translation>
    </message>
    <message>
        <source>Displays the date in the label</source>
        <translation>在标签中显示日期</translation>
    </message>
    <message>
        <source>Report the details in the label</source>
        <translation>在标签中显示详细信息</translation>
    </message>
    <message>
        <source>Show microseconds in the label</source>
        <translation>在标签中显示微秒</translation>
    </message>
    <message>
        <source>Show the time since the previous chunk</source>
        <translation>显示距上一数据块的时间</translation>
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
        <translation>起始, 步长[, 结束]，例如 0, 1, 10</translation>
    </message>
    <message>
        <source>value, value, ... or &quot;text&quot;, e.g. 1, 5, 9</source>
        <translation>值, 值, ... 或 &quot;文本&quot;，例如 1, 5, 9</translation>
    </message>
    <message>
        <source>value, value, ..., &quot;text&quot; or 0x[hex bytes], e.g. 0x[01 02 03]</source>
        <translation>值, 值, ...、&quot;文本&quot; 或 0x[十六进制字节]，例如 0x[01 02 03]</translation>
    </message>
    <message>
        <source>count[, fill], e.g. 4, 0xFF</source>
        <translation>个数[, 填充值]，例如 4, 0xFF</translation>
    </message>
    <message>
        <source>&quot;format&quot; of yyyy MM dd hh mm ss zzz, e.g. &quot;yyyy-MM-dd hh:mm:ss&quot;</source>
        <translation>由 yyyy MM dd hh mm ss zzz 组成的 &quot;格式&quot;，例如 &quot;yyyy-MM-dd hh:mm:ss&quot;</translation>
    </message>
    <message>
        <source>period (ms), low, high, coefficient, e.g. 1000, 0, 100, 1</source>
        <translation>周期（毫秒）, 下限, 上限, 系数，例如 1000, 0, 100, 1</translation>
    </message>
    <message>
        <source>period (ms), first, second, coefficient, e.g. 1000, 0, 1, 1</source>
        <translation>周期（毫秒）, 第一值, 第二值, 系数，例如 1000, 0, 1, 1</translation>
    </message>
    <message>
        <source>Edit Field</source>
        <translation>编辑字段</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>数据类型</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>生成器</translation>
    </message>
    <message>
        <source>Params</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
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
        <translation>复制</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Fire time</source>
        <translation>发送时间</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>内容</translation>
    </message>
</context>
<context>
    <name>InstructItemEditor</name>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Edit in the transmit window</source>
        <translation>在发送窗口中编辑</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
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
        <translation>发送</translation>
    </message>
</context>
<context>
    <name>InstructSetWindow</name>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>内容</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>New Instruct Set</source>
        <translation>新建指令集</translation>
    </message>
    <message>
        <source>Open Instruct Set</source>
        <translation>打开指令集</translation>
    </message>
    <message>
        <source>Save Instruct Set</source>
        <translation>保存指令集</translation>
    </message>
    <message>
        <source>Show/Hide Comments</source>
        <translation>显示/隐藏注释</translation>
    </message>
    <message>
        <source>Show/Hide Delay</source>
        <translation>显示/隐藏延时</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Start Batch Send</source>
        <translation>开始批量发送</translation>
    </message>
    <message>
        <source>Save instruct set</source>
        <translation>保存指令集</translation>
    </message>
    <message>
        <source>Instruct set has changed, do you want save it?</source>
        <translation>指令集已更改，是否保存？</translation>
    </message>
    <message>
        <source>Dorvane instruct set (*.dvits)</source>
        <translation>Dorvane 指令集 (*.dvits)</translation>
    </message>
    <message>
        <source>Stop Batch Send</source>
        <translation>停止批量发送</translation>
    </message>
</context>
<context>
    <name>InterpretWindow</name>
    <message>
        <source>Integral</source>
        <translation>整数</translation>
    </message>
    <message>
        <source>binary:</source>
        <translation>二进制：</translation>
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
        <translation>浮点数</translation>
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
        <translation>时间</translation>
    </message>
    <message>
        <source>Window SYSTIEM:</source>
        <translation>系统时间：</translation>
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
        <translation>文本</translation>
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
        <translation>标准</translation>
    </message>
    <message>
        <source>Mouse Mode</source>
        <translation>鼠标模式</translation>
    </message>
    <message>
        <source>Click</source>
        <translation>点击</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>指向</translation>
    </message>
    <message>
        <source>Inspect text</source>
        <translation>检视文本</translation>
    </message>
    <message>
        <source>Inspect Rx Data</source>
        <translation>检视接收数据</translation>
    </message>
    <message>
        <source>Inspect Tx Data</source>
        <translation>检视发送数据</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Hex numbers</source>
        <translation>十六进制数字</translation>
    </message>
    <message>
        <source>Big-endian</source>
        <translation>大端</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>ItemDocument</name>
    <message>
        <source>Not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
</context>
<context>
    <name>LinkHealthWindow</name>
    <message>
        <source>Requests and replies</source>
        <translation>请求与应答</translation>
    </message>
    <message>
        <source>RTT min</source>
        <translation>往返时间最小值</translation>
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
        <translation>应答</translation>
    </message>
    <message>
        <source>Replies missing</source>
        <translation>缺失应答</translation>
    </message>
    <message>
        <source>Reply window</source>
        <translation>应答窗口</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source>A reply is the first one received within this time after a send</source>
        <translation>应答是发送后在此时间内收到的第一份数据</translation>
    </message>
    <message>
        <source>Frame checks</source>
        <translation>帧校验</translation>
    </message>
    <message>
        <source>Checksum failures</source>
        <translation>校验失败</translation>
    </message>
    <message>
        <source>Sequence gaps</source>
        <translation>序号缺口</translation>
    </message>
    <message>
        <source>Sequence repeats</source>
        <translation>序号重复</translation>
    </message>
    <message>
        <source>UART errors</source>
        <translation>UART 错误</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>帧错误</translation>
    </message>
    <message>
        <source>Overrun</source>
        <translation>溢出</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Break</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>Buffer overrun</source>
        <translation>缓冲区溢出</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>第 %1 个，共 %2 个</translation>
    </message>
    <message>
        <source>replies: frames of the receive protocol</source>
        <translation>应答：接收协议的帧</translation>
    </message>
    <message>
        <source>replies: any chunk</source>
        <translation>应答：任意数据块</translation>
    </message>
    <message>
        <source>no role</source>
        <translation>未指定角色</translation>
    </message>
    <message>
        <source>not available</source>
        <translation>不可用</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Dialogue</source>
        <translation>对话</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>TXP Editor</source>
        <translation>协议编辑</translation>
    </message>
    <message>
        <source>TXPSet Editor</source>
        <translation>协议集</translation>
    </message>
    <message>
        <source>Instruct Set</source>
        <translation>指令集</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史</translation>
    </message>
    <message>
        <source>Inspect</source>
        <translation>检视</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>About Dorvane</source>
        <translation>关于 Dorvane</translation>
    </message>
    <message>
        <source>TX Protocol Explorer</source>
        <translation>发送协议浏览器</translation>
    </message>
    <message>
        <source>TX Protocol Editor</source>
        <translation>发送协议编辑器</translation>
    </message>
    <message>
        <source>Histroy</source>
        <translation>历史</translation>
    </message>
    <message>
        <source>RX:</source>
        <translation>接收：</translation>
    </message>
    <message>
        <source>TX:</source>
        <translation>发送：</translation>
    </message>
    <message>
        <source>Reset Counter</source>
        <translation>计数清零</translation>
    </message>
    <message>
        <source>Get Latest Version</source>
        <translation>获取最新版本</translation>
    </message>
    <message>
        <source>The help page is not installed.</source>
        <translation>未安装帮助页面。</translation>
    </message>
    <message>
        <source>Dorvane Help</source>
        <translation>Dorvane 帮助</translation>
    </message>
    <message>
        <source>No viewer could be started for the help page; it is shown in a window of its own.</source>
        <translation>无法启动帮助页面的查看器，已在单独的窗口中显示。</translation>
    </message>
    <message>
        <source>RX Frames</source>
        <translation>接收帧</translation>
    </message>
    <message>
        <source>Timing</source>
        <translation>时序</translation>
    </message>
    <message>
        <source>Link Health</source>
        <translation>链路健康</translation>
    </message>
</context>
<context>
    <name>NetChannelWidget</name>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an address of this host</source>
        <translation>&quot;%1&quot; 不是本机的地址</translation>
    </message>
    <message>
        <source>Select Protocol</source>
        <translation>选择协议</translation>
    </message>
    <message>
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>TCP Client</source>
        <translation>TCP 客户端</translation>
    </message>
    <message>
        <source>TCP Server</source>
        <translation>TCP 服务器</translation>
    </message>
    <message>
        <source>Auto Local Host</source>
        <translation>自动选择本机地址</translation>
    </message>
    <message>
        <source>Local Host</source>
        <translation>本机地址</translation>
    </message>
    <message>
        <source>Remote Host</source>
        <translation>远程主机</translation>
    </message>
    <message>
        <source>Multicast Address:</source>
        <translation>组播地址：</translation>
    </message>
    <message>
        <source>empty for unicast</source>
        <translation>单播时留空</translation>
    </message>
    <message>
        <source>Protocol Type</source>
        <translation>协议类型</translation>
    </message>
    <message>
        <source>Client List</source>
        <translation>客户端列表</translation>
    </message>
    <message>
        <source>the address or port was refused</source>
        <translation>地址或端口被拒绝</translation>
    </message>
    <message>
        <source>Unable to listen on %1:%2: %3</source>
        <translation>无法在 %1:%2 上监听：%3</translation>
    </message>
    <message>
        <source>Unable to open the UDP socket on %1:%2: %3</source>
        <translation>无法在 %1:%2 上打开 UDP 套接字：%3</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>%1:%2 closed the connection</source>
        <translation>%1:%2 关闭了连接</translation>
    </message>
    <message>
        <source>Auto Reconnect</source>
        <translation>自动重连</translation>
    </message>
    <message>
        <source>Connect again, after 0.5 s and up to every 10 s, when the connection fails or ends, until you disconnect</source>
        <translation>连接失败或结束时重新连接，先隔 0.5 秒，之后最长每 10 秒一次，直到您断开</translation>
    </message>
    <message>
        <source>Send To</source>
        <translation>发送到</translation>
    </message>
    <message>
        <source>All Clients</source>
        <translation>所有客户端</translation>
    </message>
    <message>
        <source>Where the server&apos;s sends go: every client, or one</source>
        <translation>服务器发送的目标：所有客户端，或其中一个</translation>
    </message>
    <message>
        <source>%1 (waiting)</source>
        <translation>%1（等待中）</translation>
    </message>
    <message>
        <source>%1 (gone)</source>
        <translation>%1（已离开）</translation>
    </message>
    <message>
        <source>Three clients are served; this one waits until one of them leaves</source>
        <translation>已在服务三个客户端；此客户端等待其中一个离开</translation>
    </message>
    <message>
        <source> (gone)</source>
        <translation>（已离开）</translation>
    </message>
</context>
<context>
    <name>ProtocolExportDialog</name>
    <message>
        <source>The protocol&apos;s filter name in Wireshark</source>
        <translation>协议在 Wireshark 中的过滤器名称</translation>
    </message>
    <message>
        <source>The prefix of every name in the header</source>
        <translation>头文件中每个名称的前缀</translation>
    </message>
    <message>
        <source>Protocol name:</source>
        <translation>协议名称：</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
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
        <translation>端口：</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>文件：</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export Wireshark Dissector</source>
        <translation>导出 Wireshark 解析器</translation>
    </message>
    <message>
        <source>Export C Header</source>
        <translation>导出 C 头文件</translation>
    </message>
    <message>
        <source>Wireshark Lua dissector (*.lua)</source>
        <translation>Wireshark Lua 解析器 (*.lua)</translation>
    </message>
    <message>
        <source>C header (*.h)</source>
        <translation>C 头文件 (*.h)</translation>
    </message>
    <message>
        <source>The export would replace the protocol document itself.</source>
        <translation>导出会覆盖协议文档本身。</translation>
    </message>
    <message>
        <source>The protocol cannot be exported.
%1</source>
        <translation>无法导出该协议。
%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>There is no active channel, no protocol can be sent!</source>
        <translation>没有活动通道，无法发送协议！</translation>
    </message>
    <message>
        <source>Periodic sending has been turned on: %1</source>
        <translation>周期发送已开启：%1</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>生成器已复位！</translation>
    </message>
    <message>
        <source>A problem occurred during build. Check data validity.</source>
        <translation>构建时出现问题，请检查数据是否有效。</translation>
    </message>
    <message>
        <source>Unable to open file</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>These command-line arguments were not opened:</source>
        <translation>以下命令行参数未能打开：</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>文件夹不存在。</translation>
    </message>
    <message>
        <source>The folder is not a directory.</source>
        <translation>该文件夹不是目录。</translation>
    </message>
    <message>
        <source>A folder of that name is in the way.</source>
        <translation>已有同名文件夹，无法写入。</translation>
    </message>
    <message>
        <source>The file is read-only.</source>
        <translation>文件为只读。</translation>
    </message>
    <message>
        <source>The folder is not writable.</source>
        <translation>文件夹不可写。</translation>
    </message>
    <message>
        <source>The file could not be written; the disk may be full.</source>
        <translation>无法写入文件，磁盘可能已满。</translation>
    </message>
    <message>
        <source>Unable to save file</source>
        <translation>无法保存文件</translation>
    </message>
    <message>
        <source>Open protocol</source>
        <translation>打开协议</translation>
    </message>
    <message>
        <source>Dorvane tx-protocol (*.dvptc)</source>
        <translation>Dorvane 发送协议 (*.dvptc)</translation>
    </message>
    <message>
        <source>Open protocol set</source>
        <translation>打开协议集</translation>
    </message>
    <message>
        <source>Dorvane protocol set (*.dvpts)</source>
        <translation>Dorvane 协议集 (*.dvpts)</translation>
    </message>
    <message>
        <source>Open instruct set</source>
        <translation>打开指令集</translation>
    </message>
    <message>
        <source>Dorvane instruct set (*.dvits)</source>
        <translation>Dorvane 指令集 (*.dvits)</translation>
    </message>
    <message>
        <source>Dorvane was ended with unsaved changes, which were kept. Restore them?</source>
        <translation>Dorvane 上次退出时有未保存的更改，这些更改已保留。是否恢复？</translation>
    </message>
    <message>
        <source>Little Endian</source>
        <translation>小端</translation>
    </message>
    <message>
        <source>Big Endian</source>
        <translation>大端</translation>
    </message>
</context>
<context>
    <name>RttHistogram</name>
    <message>
        <source>No round trips yet</source>
        <translation>尚无往返数据</translation>
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
        <translation>名称</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Byte Order</source>
        <translation>字节序</translation>
    </message>
    <message>
        <source>Role</source>
        <translation>角色</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>绘图</translation>
    </message>
    <message>
        <source>Coefficient</source>
        <translation>系数</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>校验</translation>
    </message>
    <message>
        <source>Unsupported data type %1</source>
        <translation>不支持的数据类型 %1</translation>
    </message>
    <message>
        <source>Only values, flags and blocks can be received</source>
        <translation>只能接收数值、标志和数据块</translation>
    </message>
    <message>
        <source>A block needs a positive element count</source>
        <translation>数据块的元素个数必须为正数</translation>
    </message>
    <message>
        <source>A flag needs at least one numeric constant</source>
        <translation>标志至少需要一个数值常量</translation>
    </message>
    <message>
        <source>The field cannot be built</source>
        <translation>无法构建该字段</translation>
    </message>
    <message>
        <source>The protocol has no fields</source>
        <translation>协议中没有字段</translation>
    </message>
    <message>
        <source>Row %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>The protocol has no enabled value field</source>
        <translation>协议中没有已启用的数值字段</translation>
    </message>
    <message>
        <source>The protocol cannot be built</source>
        <translation>无法构建该协议</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>类型 %1</translation>
    </message>
    <message>
        <source>Big Endian</source>
        <translation>大端</translation>
    </message>
    <message>
        <source>Little Endian</source>
        <translation>小端</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Head Flag</source>
        <translation>帧头标志</translation>
    </message>
    <message>
        <source>Tail Flag</source>
        <translation>帧尾标志</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>数据块</translation>
    </message>
    <message>
        <source>Field %1</source>
        <translation>字段 %1</translation>
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
        <translation>协议</translation>
    </message>
    <message>
        <source>New Protocol</source>
        <translation>新建协议</translation>
    </message>
    <message>
        <source>Open Protocol</source>
        <translation>打开协议</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>保存协议</translation>
    </message>
    <message>
        <source>Save Protocol As</source>
        <translation>协议另存为</translation>
    </message>
    <message>
        <source>New Field</source>
        <translation>新建字段</translation>
    </message>
    <message>
        <source>Insert Field</source>
        <translation>插入字段</translation>
    </message>
    <message>
        <source>Delete Field</source>
        <translation>删除字段</translation>
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
        <translation>开始解析</translation>
    </message>
    <message>
        <source>Packet Mode</source>
        <translation>数据包模式</translation>
    </message>
    <message>
        <source>Plot</source>
        <translation>曲线图</translation>
    </message>
    <message>
        <source>Pause Plot</source>
        <translation>暂停曲线图</translation>
    </message>
    <message>
        <source>Cursors</source>
        <translation>游标</translation>
    </message>
    <message>
        <source>Autoscale</source>
        <translation>自动缩放</translation>
    </message>
    <message>
        <source>Fixed range: lowest value</source>
        <translation>固定范围：最小值</translation>
    </message>
    <message>
        <source>Fixed range: highest value</source>
        <translation>固定范围：最大值</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Time window</source>
        <translation>时间窗口</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Refresh rate</source>
        <translation>刷新率</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <translation>导出图片</translation>
    </message>
    <message>
        <source>Field 1</source>
        <translation>字段 1</translation>
    </message>
    <message>
        <source>Open rx-protocol</source>
        <translation>打开接收协议</translation>
    </message>
    <message>
        <source>Dorvane rx-protocol (*.dvprx)</source>
        <translation>Dorvane 接收协议 (*.dvprx)</translation>
    </message>
    <message>
        <source>Save RX Protocol</source>
        <translation>保存接收协议</translation>
    </message>
    <message>
        <source>RX protocol has changed, do you want save it?</source>
        <translation>接收协议已更改，是否保存？</translation>
    </message>
    <message>
        <source>Save rx-protocol</source>
        <translation>保存接收协议</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Parsing cannot start: %1</source>
        <translation>无法开始解析：%1</translation>
    </message>
    <message>
        <source>Parsing cannot start: there is no frame watcher</source>
        <translation>无法开始解析：没有帧监视器</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The protocol cannot be built</source>
        <translation>无法构建该协议</translation>
    </message>
    <message>
        <source>Stop Parsing</source>
        <translation>停止解析</translation>
    </message>
    <message>
        <source>Parsing packets</source>
        <translation>正在解析数据包</translation>
    </message>
    <message>
        <source>Parsing the stream</source>
        <translation>正在解析数据流</translation>
    </message>
    <message>
        <source>%1 frames/s   decoded %2   skipped %3 bytes   dropped %4 frames, %5 packets, %6 bytes</source>
        <translation>%1 帧/秒   已解码 %2   跳过 %3 字节   丢弃 %4 帧、%5 个数据包、%6 字节</translation>
    </message>
    <message>
        <source>Exporting %1 values to %2</source>
        <translation>正在导出 %1 个值到 %2</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已导出到 %1</translation>
    </message>
    <message>
        <source>Export the whole history or the visible range?</source>
        <translation>导出全部历史还是可见范围？</translation>
    </message>
    <message>
        <source>Whole History</source>
        <translation>全部历史</translation>
    </message>
    <message>
        <source>Visible Range</source>
        <translation>可见范围</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Roles…</source>
        <translation>角色…</translation>
    </message>
    <message>
        <source>Checksum and counter fields</source>
        <translation>校验和计数器字段</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>   checksum failures %1</source>
        <translation>   校验失败 %1</translation>
    </message>
    <message>
        <source>   sequence gaps %1, repeats %2</source>
        <translation>   序号缺失 %1，重复 %2</translation>
    </message>
</context>
<context>
    <name>RxLineList</name>
    <message>
        <source>Line</source>
        <translation>线</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Own Axis</source>
        <translation>独立坐标轴</translation>
    </message>
    <message>
        <source>Line colour</source>
        <translation>曲线颜色</translation>
    </message>
</context>
<context>
    <name>RxPlot</name>
    <message>
        <source>Time (s)</source>
        <translation>时间（秒）</translation>
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
        <translation>字段角色</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The frame carries a checksum</source>
        <translation>帧带有校验值</translation>
    </message>
    <message>
        <source>CRC model</source>
        <translation>CRC 模型</translation>
    </message>
    <message>
        <source>Checksum field</source>
        <translation>校验字段</translation>
    </message>
    <message>
        <source>First covered field</source>
        <translation>校验起始字段</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Counter field</source>
        <translation>计数器字段</translation>
    </message>
</context>
<context>
    <name>RxValueTable</name>
    <message>
        <source>Field</source>
        <translation>字段</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>原始值</translation>
    </message>
    <message>
        <source>Scaled</source>
        <translation>换算值</translation>
    </message>
</context>
<context>
    <name>SaveFileAskDialog</name>
    <message>
        <source>Save Prompt</source>
        <translation>保存提示</translation>
    </message>
    <message>
        <source>The document has been changed, whether to save the changes?</source>
        <translation>文档已更改，是否保存更改？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Do Not Save</source>
        <translation>不保存</translation>
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
        <translation>选择串口</translation>
    </message>
    <message>
        <source>Port or device path</source>
        <translation>端口或设备路径</translation>
    </message>
    <message>
        <source>Choose a port, or type a device path such as /dev/ttyUSB0</source>
        <translation>选择一个端口，或输入设备路径，例如 /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>描述：</translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <translation>制造商：</translation>
    </message>
    <message>
        <source>Serial number:</source>
        <translation>序列号：</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>位置：</translation>
    </message>
    <message>
        <source>Vendor Identifier:</source>
        <translation>厂商标识符：</translation>
    </message>
    <message>
        <source>Product Identifier:</source>
        <translation>产品标识符：</translation>
    </message>
    <message>
        <source>Select Parameters</source>
        <translation>选择参数</translation>
    </message>
    <message>
        <source>Flow Control</source>
        <translation>流控制</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>数据位</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>停止位</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>校验位</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>No</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空格</translation>
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
        <translation>请选择一个串口，或输入其设备路径。</translation>
    </message>
    <message>
        <source>The baud rate &quot;%1&quot; is not valid: type a whole number of bits per second above 0.</source>
        <translation>波特率 &quot;%1&quot; 无效：请输入大于 0 的整数（位/秒）。</translation>
    </message>
    <message>
        <source>the port refused these parameters</source>
        <translation>端口拒绝了这些参数</translation>
    </message>
    <message>
        <source>Unable to open the serial port %1: %2</source>
        <translation>无法打开串口 %1：%2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Type a rate</source>
        <translation>输入速率</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Line Control</source>
        <translation>线路控制</translation>
    </message>
    <message>
        <source>RTS</source>
        <translation>RTS</translation>
    </message>
    <message>
        <source>Request To Send: raised or lowered now, and so at the next open</source>
        <translation>请求发送 (RTS)：立即拉高或拉低，下次打开时亦然</translation>
    </message>
    <message>
        <source>DTR</source>
        <translation>DTR</translation>
    </message>
    <message>
        <source>Data Terminal Ready: raised or lowered now, and so at the next open</source>
        <translation>数据终端就绪 (DTR)：立即拉高或拉低，下次打开时亦然</translation>
    </message>
    <message>
        <source>Send Break</source>
        <translation>发送 Break 信号</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source>How long the line is held in the break state</source>
        <translation>线路保持中断状态的时长</translation>
    </message>
    <message>
        <source>Auto Reconnect</source>
        <translation>自动重连</translation>
    </message>
    <message>
        <source>Reopen the port when its device returns after it went away</source>
        <translation>设备断开后重新出现时重新打开端口</translation>
    </message>
    <message>
        <source>RTS/CTS flow control drives RTS</source>
        <translation>RTS/CTS 流控制正在控制 RTS</translation>
    </message>
    <message>
        <source>%1 is %2</source>
        <translation>%1 为 %2</translation>
    </message>
    <message>
        <source>on</source>
        <translation>开</translation>
    </message>
    <message>
        <source>off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>%1: not known</source>
        <translation>%1：未知</translation>
    </message>
    <message>
        <source>This port reports no modem lines (%1)</source>
        <translation>此端口不报告调制解调器线路 (%1)</translation>
    </message>
    <message>
        <source>set: %1</source>
        <translation>实际：%1</translation>
    </message>
    <message>
        <source>The driver set %1 baud instead of the %2 asked for</source>
        <translation>驱动程序设置的波特率为 %1，而不是请求的 %2</translation>
    </message>
</context>
<context>
    <name>SerialPortChannel</name>
    <message>
        <source>RTS/CTS flow control drives RTS</source>
        <translation>RTS/CTS 流控制正在控制 RTS</translation>
    </message>
    <message>
        <source>not available (%1)</source>
        <translation>不可用（%1）</translation>
    </message>
    <message>
        <source>%1 was disconnected (%2)</source>
        <translation>%1 已断开（%2）</translation>
    </message>
</context>
<context>
    <name>TimingButtons</name>
    <message>
        <source>Coarse timer</source>
        <translation>粗略定时器</translation>
    </message>
    <message>
        <source>Precise timer</source>
        <translation>精确定时器</translation>
    </message>
    <message>
        <source>High resolution timers</source>
        <translation>高精度定时器</translation>
    </message>
    <message>
        <source>Busy-waits on a nanosecond clock: the most exact periods, at the cost of one busy core</source>
        <translation>在纳秒时钟上忙等待：周期最精确，但会占满一个处理器核心</translation>
    </message>
</context>
<context>
    <name>TimingHistogram</name>
    <message>
        <source>No periods yet</source>
        <translation>尚无周期数据</translation>
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
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Period (µs)</source>
        <translation>周期（微秒）</translation>
    </message>
    <message>
        <source>RX gap (µs)</source>
        <translation>接收间隔（微秒）</translation>
    </message>
    <message>
        <source>Requested period</source>
        <translation>请求周期</translation>
    </message>
    <message>
        <source>Achieved rate</source>
        <translation>实际速率</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>写入次数</translation>
    </message>
    <message>
        <source>Late ticks</source>
        <translation>延迟节拍</translation>
    </message>
    <message>
        <source>Skipped ticks</source>
        <translation>跳过节拍</translation>
    </message>
    <message>
        <source>Periodic sending runs: %1 ms, %2</source>
        <translation>周期发送进行中：%1 毫秒，%2</translation>
    </message>
    <message>
        <source>Periodic sending stopped; the figures of its last run</source>
        <translation>周期发送已停止；以下为最近一次的数据</translation>
    </message>
    <message>
        <source>No periodic sending yet</source>
        <translation>尚未进行周期发送</translation>
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
        <translation>CSV 文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>TransferQueue</name>
    <message>
        <source>%1 cannot be read (%2)</source>
        <translation>无法读取 %1（%2）</translation>
    </message>
    <message>
        <source>The send was cancelled</source>
        <translation>发送已取消</translation>
    </message>
    <message>
        <source>The channel closed before the send was complete</source>
        <translation>发送完成前通道已关闭</translation>
    </message>
    <message>
        <source>The channel refused the bytes</source>
        <translation>通道拒绝了这些字节</translation>
    </message>
</context>
<context>
    <name>TransmitWindow</name>
    <message>
        <source>Transmit Window</source>
        <translation>发送窗口</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Switch Input Mode</source>
        <translation>切换输入模式</translation>
    </message>
    <message>
        <source>Input Mode: Hex</source>
        <translation>输入模式：十六进制</translation>
    </message>
    <message>
        <source>Clear Input</source>
        <translation>清空输入</translation>
    </message>
    <message>
        <source>Show/Hide Calc Tools</source>
        <translation>显示/隐藏计算工具</translation>
    </message>
    <message>
        <source>Show/Hide CRC Tools</source>
        <translation>显示/隐藏 CRC 工具</translation>
    </message>
    <message>
        <source>Show/Hide Pacing and File Tools</source>
        <translation>显示/隐藏节奏与文件工具</translation>
    </message>
    <message>
        <source>Add To Instruct Set</source>
        <translation>添加到指令集</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>启用周期发送</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>计算器</translation>
    </message>
    <message>
        <source>Decimal input</source>
        <translation>十进制输入</translation>
    </message>
    <message>
        <source>Hex out</source>
        <translation>十六进制输出</translation>
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
        <translation>CRC 参数模型</translation>
    </message>
    <message>
        <source>Check sum</source>
        <translation>校验和</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>计算</translation>
    </message>
    <message>
        <source>Text Pacing</source>
        <translation>文本发送节奏</translation>
    </message>
    <message>
        <source>Line end</source>
        <translation>行尾</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Appended to each send in text mode</source>
        <translation>文本模式下附加在每次发送之后</translation>
    </message>
    <message>
        <source>Char delay</source>
        <translation>字符延时</translation>
    </message>
    <message>
        <source>Pause after each character in text mode</source>
        <translation>文本模式下每个字符后暂停</translation>
    </message>
    <message>
        <source>Line delay</source>
        <translation>行延时</translation>
    </message>
    <message>
        <source>Pause after each line in text mode</source>
        <translation>文本模式下每行后暂停</translation>
    </message>
    <message>
        <source>Send File</source>
        <translation>发送文件</translation>
    </message>
    <message>
        <source>Chunk</source>
        <translation>块大小</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>延时</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>A file is being sent already</source>
        <translation>已有文件正在发送</translation>
    </message>
    <message>
        <source>Unable to open file: %1</source>
        <translation>无法打开文件：%1</translation>
    </message>
    <message>
        <source>There is no active channel, no protocol can be sent!</source>
        <translation>没有活动通道，无法发送协议！</translation>
    </message>
    <message>
        <source>Sending %1</source>
        <translation>正在发送 %1</translation>
    </message>
    <message>
        <source>File sent</source>
        <translation>文件已发送</translation>
    </message>
    <message>
        <source>The file send stopped</source>
        <translation>文件发送已停止</translation>
    </message>
    <message>
        <source>%1 does not fit in a %2</source>
        <translation>%1 超出了 %2 的范围</translation>
    </message>
    <message>
        <source>Input Mode: Text</source>
        <translation>输入模式：文本</translation>
    </message>
    <message>
        <source>Not sent: not hex digits: %1</source>
        <translation>未发送：不是十六进制数字：%1</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止发送</translation>
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
        <translation>字段名称</translation>
    </message>
    <message>
        <source>Data Type</source>
        <translation>数据类型</translation>
    </message>
    <message>
        <source>Byte order: B big endian, L little endian</source>
        <translation>字节序：B 为大端，L 为小端</translation>
    </message>
    <message>
        <source>Enable or disable the field</source>
        <translation>启用或禁用该字段</translation>
    </message>
    <message>
        <source>Delete the field</source>
        <translation>删除该字段</translation>
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
        <translation>复制到上方</translation>
    </message>
    <message>
        <source>Copy below</source>
        <translation>复制到下方</translation>
    </message>
</context>
<context>
    <name>TxProtocolBuildBar</name>
    <message>
        <source>Build</source>
        <translation>构建</translation>
    </message>
    <message>
        <source>Reset Generator</source>
        <translation>复位生成器</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>启用周期发送</translation>
    </message>
    <message>
        <source>Period of the periodic sending</source>
        <translation>周期发送的周期</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>生成器已复位！</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止发送</translation>
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
        <translation>协议编辑器</translation>
    </message>
    <message>
        <source>No Protocol Document</source>
        <translation>无协议文档</translation>
    </message>
    <message>
        <source>Fields:</source>
        <translation>字段数：</translation>
    </message>
    <message>
        <source>Bytes:</source>
        <translation>字节数：</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Endian</source>
        <translation>字节序</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>保存协议</translation>
    </message>
    <message>
        <source>Protocol has changed, do you want save it?</source>
        <translation>协议已更改，是否保存？</translation>
    </message>
    <message>
        <source>Save protocol</source>
        <translation>保存协议</translation>
    </message>
    <message>
        <source>Dorvane protocol (*.dvptc)</source>
        <translation>Dorvane 协议 (*.dvptc)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>已导出到 %1</translation>
    </message>
</context>
<context>
    <name>TxProtocolSet</name>
    <message>
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>它不是普通文件。</translation>
    </message>
    <message>
        <source>The file is too large for a protocol set.</source>
        <translation>文件过大，不是协议集。</translation>
    </message>
    <message>
        <source>The set lists more than %1 files.</source>
        <translation>该协议集列出的文件超过 %1 个。</translation>
    </message>
    <message>
        <source>It is not a protocol-set file.</source>
        <translation>它不是协议集文件。</translation>
    </message>
    <message>
        <source>It is not a valid protocol-set file (%1).</source>
        <translation>它不是有效的协议集文件（%1）。</translation>
    </message>
</context>
<context>
    <name>TxProtocolSetItemEditor</name>
    <message>
        <source>Edit the protocol</source>
        <translation>编辑该协议</translation>
    </message>
    <message>
        <source>Enable or disable</source>
        <translation>启用或禁用</translation>
    </message>
    <message>
        <source>Remove from the set</source>
        <translation>从协议集中移除</translation>
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
        <translation>周期发送</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>%1
This protocol cannot be built into a frame.</source>
        <translation>%1
该协议无法构建成数据帧。</translation>
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
        <translation>文件名</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>Add protocol files to send them in turn</source>
        <translation>添加协议文件以依次发送</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>New Protocol Set</source>
        <translation>新建协议集</translation>
    </message>
    <message>
        <source>Open Protocol Set</source>
        <translation>打开协议集</translation>
    </message>
    <message>
        <source>Save Protocol Set</source>
        <translation>保存协议集</translation>
    </message>
    <message>
        <source>Save Protocol Set As...</source>
        <translation>协议集另存为...</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>添加文件</translation>
    </message>
    <message>
        <source>Insert File</source>
        <translation>插入文件</translation>
    </message>
    <message>
        <source>Position of the inserted file</source>
        <translation>插入文件的位置</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Select Value Set</source>
        <translation>选择值组</translation>
    </message>
    <message>
        <source>Period Send Options</source>
        <translation>周期发送选项</translation>
    </message>
    <message>
        <source>Transmite</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Reset Generator</source>
        <translation>复位生成器</translation>
    </message>
    <message>
        <source>Enable Period Send</source>
        <translation>启用周期发送</translation>
    </message>
    <message>
        <source> (ms)</source>
        <translation>（毫秒）</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>No Protocol Set</source>
        <translation>无协议集</translation>
    </message>
    <message>
        <source>Save Solution</source>
        <translation>保存协议集</translation>
    </message>
    <message>
        <source>Solution has changed, do you want save it?</source>
        <translation>协议集已更改，是否保存？</translation>
    </message>
    <message>
        <source>Save protocol set</source>
        <translation>保存协议集</translation>
    </message>
    <message>
        <source>Dorvane protocol set (*.dvpts)</source>
        <translation>Dorvane 协议集 (*.dvpts)</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>None of the protocol files of the set could be loaded:</source>
        <translation>该协议集中的协议文件均无法加载：</translation>
    </message>
    <message>
        <source>These protocol files of the set are missing or unreadable and were skipped:</source>
        <translation>该协议集中的以下协议文件缺失或无法读取，已跳过：</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>……另有 %1 个</translation>
    </message>
    <message>
        <source>Add protocols</source>
        <translation>添加协议</translation>
    </message>
    <message>
        <source>Dorvane protocol (*.dvptc)</source>
        <translation>Dorvane 协议 (*.dvptc)</translation>
    </message>
    <message>
        <source>These files are not readable protocol files and were not added:</source>
        <translation>以下文件不是可读取的协议文件，未添加：</translation>
    </message>
    <message>
        <source>Generator reset done!</source>
        <translation>生成器已复位！</translation>
    </message>
    <message>
        <source>Stop Send</source>
        <translation>停止发送</translation>
    </message>
    <message>
        <source>Protocol Set Editor</source>
        <translation>协议集编辑器</translation>
    </message>
    <message>
        <source>File Editor</source>
        <translation>文件编辑器</translation>
    </message>
</context>
<context>
    <name>TxProtocolToolBar</name>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>New Protocol</source>
        <translation>新建协议</translation>
    </message>
    <message>
        <source>Open Protocol</source>
        <translation>打开协议</translation>
    </message>
    <message>
        <source>Save Protocol</source>
        <translation>保存协议</translation>
    </message>
    <message>
        <source>Save Protocol (%1 saves to the same file)</source>
        <translation>保存协议（%1 保存到同一文件）</translation>
    </message>
    <message>
        <source>New Field</source>
        <translation>新建字段</translation>
    </message>
    <message>
        <source>Insert Field At</source>
        <translation>插入字段于</translation>
    </message>
    <message>
        <source>Position of the inserted field</source>
        <translation>插入字段的位置</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Deletion</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>New Value Set</source>
        <translation>新建值组</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Export the current value set as a Wireshark dissector or a C header</source>
        <translation>将当前值组导出为 Wireshark 解析器或 C 头文件</translation>
    </message>
</context>
<context>
    <name>TxValueColumn</name>
    <message>
        <source>Active</source>
        <translation>当前</translation>
    </message>
    <message>
        <source>Send this value set</source>
        <translation>发送此值组</translation>
    </message>
    <message>
        <source>Delete Value Set</source>
        <translation>删除值组</translation>
    </message>
</context>
<context>
    <name>TxValueEdit</name>
    <message>
        <source>inhiert from parent</source>
        <translation>继承自上级</translation>
    </message>
    <message>
        <source>Edit Value</source>
        <translation>编辑值</translation>
    </message>
    <message>
        <source>Inherit From First Value Set</source>
        <translation>继承第一个值组</translation>
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
