#include "windows/rxframes/rxfieldtable.h"

#include <dorvane/Core.h>

#include <QComboBox>
#include <QHeaderView>

namespace {

void copyField(const RxField &from, RxField &to)
{
    to.SetName(from.GetName());
    to.SetTypeId(from.GetTypeId());
    to.SetEndian(from.GetEndian());
    to.SetEnabled(from.IsEnabled());
    const RxValueMetaInfo *a = from.GetValueMetaInfo();
    RxValueMetaInfo *b = to.GetValueMetaInfo();
    b->SetValueGeneratorType(a->GetValueGeneratorType());
    b->SetParamList(a->GetParamList());
    b->SetGraphId(a->GetGraphId());
    b->SetFormId(a->GetFormId());
    b->SetCoefficient(a->GetCoefficient());
    b->SetFlag(a->GetFlag());
}

QString fromLocal(const std::string &text)
{
    return QString::fromLocal8Bit(text.c_str());
}

std::string toLocal(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

// The coefficient the parser takes from a value's parameter text.
QString coefficientText(const RxValueMetaInfo *meta)
{
    ParamList params;
    params.Parse(meta->GetParamList());
    if (params.Count() == 1 && params.ParamAt(0).type == ParamList::Number)
        return fromLocal(meta->GetParamList()).trimmed();
    return QStringLiteral("1");
}

} // namespace

namespace {

// Keeps the field roles on their fields when fields are inserted, removed or
// moved; `moved` gives a field's new index, -1 for one that is gone (its
// role goes with it).
template<typename Map>
void remapRoles(RxProtocol *protocol, Map moved)
{
    RxFrameRoles roles = protocol->GetRoles();
    if (roles.hasChecksum) {
        roles.checksum.field = moved(roles.checksum.field);
        const int first = moved(roles.checksum.firstCoveredField);
        // Without its first field the checksum covers from the next one on.
        roles.checksum.firstCoveredField = first >= 0 ? first : roles.checksum.firstCoveredField;
        roles.hasChecksum = roles.checksum.field >= 0;
    }
    if (roles.sequenceField >= 0)
        roles.sequenceField = moved(roles.sequenceField);
    protocol->SetRoles(roles);
}

} // namespace

std::unique_ptr<RxProtocol> copyRxProtocol(const RxProtocol &protocol)
{
    auto copy = std::make_unique<RxProtocol>();
    for (int i = 0; i < protocol.GetFieldCount(); ++i)
        copyField(*protocol.GetField(i), *copy->AddField(-1));
    copy->SetRoles(protocol.GetRoles());
    return copy;
}

const QList<int> &rxTypeIds()
{
    static const QList<int> ids = {1, 10, 2, 11, 3, 12, 20, 21};
    return ids;
}

RxFieldTable::RxFieldTable(Context *context, QWidget *parent)
    : QTableWidget(0, ColumnCount, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("RxFieldTable"));
    setHorizontalHeaderLabels({tr("Name"), tr("Type"), tr("Byte Order"), tr("Role"), tr("Parameters"),
                               tr("Graph"), tr("Coefficient"), tr("Enable"), tr("Check")});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(TypeColumn, 130);
    setColumnWidth(OrderColumn, 115);
    setColumnWidth(RoleColumn, 105);
    setColumnWidth(GraphColumn, 55);
    setColumnWidth(EnableColumn, 60);
    connect(this, &QTableWidget::itemChanged, this, &RxFieldTable::onItemChanged);
}

void RxFieldTable::setProtocol(RxProtocol *protocol)
{
    m_protocol = protocol;
    rebuild();
}

RxFieldTable::Role RxFieldTable::roleOf(const RxField *field)
{
    const RxValueMetaInfo *meta = field->GetValueMetaInfo();
    if (meta->GetValueGeneratorType() == Block)
        return BlockRole;
    if (meta->HasHeadFlag())
        return HeadRole;
    if (meta->HasTailFlag())
        return TailRole;
    return ValueRole;
}

void RxFieldTable::setRole(RxField *field, Role role)
{
    RxValueMetaInfo *meta = field->GetValueMetaInfo();
    meta->SetValueGeneratorType(role == BlockRole ? Block : Fixed);
    if (role == HeadRole)
        meta->SetHeadFlag();
    else if (role == TailRole)
        meta->SetTailFlag();
    else
        meta->ClearFlag();
}

QString RxFieldTable::problemOf(const RxField *field)
{
    if (!field->IsEnabled())
        return QString();
    if (!rxTypeIds().contains(field->GetTypeId()))
        return tr("Unsupported data type %1").arg(field->GetTypeId());
    const RxValueMetaInfo *meta = field->GetValueMetaInfo();
    const ValueGeneratorType generator = meta->GetValueGeneratorType();
    if (generator != Fixed && generator != Block)
        return tr("Only values, flags and blocks can be received");
    // The parser itself decides, on the field alone.
    RxProtocol single;
    copyField(*field, *single.AddField(-1));
    ProtocolParser parser;
    if (parser.Build(&single))
        return QString();
    if (generator == Block)
        return tr("A block needs a positive element count");
    if (meta->HasFlag())
        return tr("A flag needs at least one numeric constant");
    return tr("The field cannot be built");
}

QString RxFieldTable::protocolProblem(const RxProtocol *protocol)
{
    if (!protocol || protocol->GetFieldCount() < 1)
        return tr("The protocol has no fields");
    bool anyValue = false;
    for (int i = 0; i < protocol->GetFieldCount(); ++i) {
        const RxField *field = protocol->GetField(i);
        const QString problem = problemOf(field);
        if (!problem.isEmpty())
            return tr("Row %1: %2").arg(i + 1).arg(problem);
        anyValue = anyValue || (field->IsEnabled() && roleOf(field) == ValueRole);
    }
    if (!anyValue)
        return tr("The protocol has no enabled value field");
    ProtocolParser parser;
    if (!parser.Build(protocol))
        return tr("The protocol cannot be built");
    return QString();
}

QString RxFieldTable::rowProblem(int row) const
{
    const QTableWidgetItem *check = item(row, CheckColumn);
    return check ? check->text() : QString();
}

void RxFieldTable::rebuild()
{
    const int keep = currentRow();
    m_filling = true;
    clearContents();
    setRowCount(m_protocol ? m_protocol->GetFieldCount() : 0);
    for (int row = 0; row < rowCount(); ++row)
        fillRow(row);
    m_filling = false;
    if (keep >= 0 && keep < rowCount())
        setCurrentCell(keep, NameColumn);
}

void RxFieldTable::setCellEditable(int row, int column, bool editable)
{
    QTableWidgetItem *cell = item(row, column);
    Qt::ItemFlags flags = cell->flags();
    flags = editable ? (flags | Qt::ItemIsEditable | Qt::ItemIsEnabled)
                     : (flags & ~Qt::ItemIsEditable & ~Qt::ItemIsEnabled);
    cell->setFlags(flags);
}

void RxFieldTable::fillRow(int row)
{
    RxField *field = m_protocol->GetField(row);
    const RxValueMetaInfo *meta = field->GetValueMetaInfo();
    const Role role = roleOf(field);
    const bool value = role == ValueRole;
    const bool wasFilling = m_filling;
    m_filling = true;

    setItem(row, NameColumn, new QTableWidgetItem(fromLocal(field->GetName())));

    auto *type = new QComboBox(this);
    for (int id : rxTypeIds())
        type->addItem(m_context ? fromLocal(m_context->GetTypeName(id)) : QString::number(id), id);
    if (type->findData(field->GetTypeId()) < 0)
        type->addItem(tr("type %1").arg(field->GetTypeId()), field->GetTypeId());
    type->setCurrentIndex(type->findData(field->GetTypeId()));
    connect(type, QOverload<int>::of(&QComboBox::activated), this, [this, row, type](int index) {
        m_protocol->GetField(row)->SetTypeId(type->itemData(index).toInt());
        changed(row);
    });
    setCellWidget(row, TypeColumn, type);

    auto *order = new QComboBox(this);
    order->addItem(tr("Big Endian"), int(BigEndian));
    order->addItem(tr("Little Endian"), int(LittleEndian));
    order->setCurrentIndex(field->GetEndian() == BigEndian ? 0 : 1);
    connect(order, QOverload<int>::of(&QComboBox::activated), this, [this, row, order](int index) {
        m_protocol->GetField(row)->SetEndian(Endianness(order->itemData(index).toInt()));
        changed(row);
    });
    setCellWidget(row, OrderColumn, order);

    auto *roleBox = new QComboBox(this);
    roleBox->addItems({tr("Value"), tr("Head Flag"), tr("Tail Flag"), tr("Block")});
    roleBox->setCurrentIndex(int(role));
    connect(roleBox, QOverload<int>::of(&QComboBox::activated), this, [this, row](int index) {
        RxField *edited = m_protocol->GetField(row);
        if (roleOf(edited) == Role(index))
            return;
        setRole(edited, Role(index));
        // The parameters of one role mean nothing to another.
        edited->GetValueMetaInfo()->SetParamList(std::string());
        m_filling = true;
        fillRow(row);
        m_filling = false;
        changed(row);
    });
    setCellWidget(row, RoleColumn, roleBox);

    setItem(row, ParamsColumn, new QTableWidgetItem(value ? QString() : fromLocal(meta->GetParamList())));
    setCellEditable(row, ParamsColumn, !value);
    setItem(row, GraphColumn,
            new QTableWidgetItem(value && meta->GetGraphId() >= 0 ? QString::number(meta->GetGraphId())
                                                                  : QString()));
    setCellEditable(row, GraphColumn, value);
    setItem(row, CoefficientColumn, new QTableWidgetItem(value ? coefficientText(meta) : QString()));
    setCellEditable(row, CoefficientColumn, value);

    auto *enable = new QTableWidgetItem();
    enable->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    enable->setCheckState(field->IsEnabled() ? Qt::Checked : Qt::Unchecked);
    setItem(row, EnableColumn, enable);

    auto *check = new QTableWidgetItem();
    check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, CheckColumn, check);
    markRow(row);
    m_filling = wasFilling;
}

void RxFieldTable::markRow(int row)
{
    const QString problem = problemOf(m_protocol->GetField(row));
    const bool wasFilling = m_filling;
    m_filling = true;
    QTableWidgetItem *check = item(row, CheckColumn);
    check->setText(problem);
    const QBrush tint = problem.isEmpty() ? QBrush() : QBrush(QColor(0xf8, 0xd7, 0xd7));
    for (int column = 0; column < ColumnCount; ++column) {
        if (QTableWidgetItem *cell = item(row, column)) {
            cell->setBackground(tint);
            cell->setToolTip(problem);
        }
    }
    m_filling = wasFilling;
}

void RxFieldTable::onItemChanged(QTableWidgetItem *cell)
{
    if (m_filling || !m_protocol)
        return;
    const int row = cell->row();
    RxField *field = m_protocol->GetField(row);
    if (!field)
        return;
    RxValueMetaInfo *meta = field->GetValueMetaInfo();
    const QString text = cell->text().trimmed();
    switch (cell->column()) {
    case NameColumn:
        field->SetName(toLocal(text));
        break;
    case ParamsColumn:
        meta->SetParamList(toLocal(text));
        break;
    case GraphColumn: {
        bool ok = false;
        const int id = text.toInt(&ok);
        if (text.isEmpty() || (ok && id >= -1)) {
            meta->SetGraphId(text.isEmpty() ? -1 : id);
        }
        m_filling = true;
        cell->setText(meta->GetGraphId() >= 0 ? QString::number(meta->GetGraphId()) : QString());
        m_filling = false;
        break;
    }
    case CoefficientColumn: {
        // The coefficient is the value's one parameter; a text that is no
        // number is not taken.
        bool ok = false;
        text.toDouble(&ok);
        if (ok)
            meta->SetParamList(toLocal(text));
        else if (text.isEmpty())
            meta->SetParamList(std::string());
        m_filling = true;
        cell->setText(coefficientText(meta));
        m_filling = false;
        break;
    }
    case EnableColumn:
        field->SetEnabled(cell->checkState() == Qt::Checked);
        break;
    default:
        return;
    }
    changed(row);
}

void RxFieldTable::changed(int row)
{
    markRow(row);
    emit edited();
}

void RxFieldTable::appendField()
{
    if (!m_protocol)
        return;
    m_protocol->AddField(-1)->SetName(toLocal(tr("Field %1").arg(m_protocol->GetFieldCount())));
    rebuild();
    setCurrentCell(rowCount() - 1, NameColumn);
    emit edited();
}

void RxFieldTable::insertField()
{
    if (!m_protocol)
        return;
    const int at = currentRow() >= 0 ? currentRow() : rowCount();
    m_protocol->AddField(at)->SetName(toLocal(tr("Field %1").arg(m_protocol->GetFieldCount())));
    remapRoles(m_protocol, [at](int i) { return i >= at ? i + 1 : i; });
    rebuild();
    setCurrentCell(at, NameColumn);
    emit edited();
}

void RxFieldTable::removeCurrentField()
{
    const int row = currentRow();
    if (!m_protocol || row < 0)
        return;
    RxField *field = m_protocol->GetField(row);
    if (!field || !m_protocol->RemoveField(row))
        return;
    delete field;
    remapRoles(m_protocol, [row](int i) { return i == row ? -1 : i > row ? i - 1 : i; });
    rebuild();
    setCurrentCell(qMin(row, rowCount() - 1), NameColumn);
    emit edited();
}

void RxFieldTable::moveCurrentField(int step)
{
    const int row = currentRow();
    const int to = row + step;
    if (!m_protocol || row < 0 || to < 0 || to >= m_protocol->GetFieldCount())
        return;
    // The protocol has no move: the two fields trade their contents.
    RxField spare;
    copyField(*m_protocol->GetField(row), spare);
    copyField(*m_protocol->GetField(to), *m_protocol->GetField(row));
    copyField(spare, *m_protocol->GetField(to));
    remapRoles(m_protocol, [row, to](int i) { return i == row ? to : i == to ? row : i; });
    rebuild();
    setCurrentCell(to, NameColumn);
    emit edited();
}
