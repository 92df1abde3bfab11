#include "gui/ModelKlientu.h"

#include "model/Klienti.h"

#include <QComboBox>

ModelKlientu::ModelKlientu(QComboBox *box)
    : DropDownList::SearchableLines(box), m_box(box)
{
    DropDownList::enableSearch(box, this);
}

void ModelKlientu::nacti()
{
    nastav(Klienti::aktualni());
}

void ModelKlientu::zahod()
{
    nastav(nullptr);
}

void ModelKlientu::nastav(std::shared_ptr<const Klienti> seznam)
{
    const QSignalBlocker quiet(m_box);
    DropDownList::resetLines(m_box, [&] {
        beginResetModel();
        m_seznam = std::move(seznam);
        endResetModel();
    });
}

int ModelKlientu::klientNaRadku(int radek) const
{
    return m_seznam ? m_seznam->idNaRadku(radek) : -1;
}

int ModelKlientu::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_seznam ? 0 : m_seznam->pocet();
}

QVariant ModelKlientu::data(const QModelIndex &index, int role) const
{
    if (!m_seznam || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_seznam->radek(index.row());
}

QList<int> ModelKlientu::rowsContaining(const QString &key) const
{
    return m_seznam ? m_seznam->radkyObsahujici(key) : QList<int>();
}
