#pragma once

#include "gui/DropDownList.h"

#include <memory>

class QComboBox;
class Klienti;

/**
 * A drop-down list's lines over the desk's shared client list: the lines
 * are made when shown, never copied into the box.
 */
class ModelKlientu : public DropDownList::SearchableLines
{
    Q_OBJECT
public:
    /** Shows the lines in the box, searchable as DropDownList::enableSearch says. */
    explicit ModelKlientu(QComboBox *box);

    /**
     * Shows the clients as they are now (the shared list, read again when
     * the clients changed); no line is selected and no change is signalled.
     */
    void nacti();
    /** Empties the box: the list goes once no other dialog shows it. */
    void zahod();

    /** The client of a row of the box; -1 for none. 0 is a real client. */
    int klientNaRadku(int radek) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QList<int> rowsContaining(const QString &key) const override;

private:
    void nastav(std::shared_ptr<const Klienti> seznam);

    QComboBox *m_box;
    std::shared_ptr<const Klienti> m_seznam;
};
