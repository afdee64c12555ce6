#include "components/TabularioModello.h"

#include "archive/Recordset.h"
#include "common/Testo.h"

#include <QDate>
#include <QDateTime>

namespace {

constexpr int RighePerBlocco = 500;

} // namespace

TabularioModello::TabularioModello(QObject* genitore) : QAbstractTableModel(genitore) {}

TabularioModello::~TabularioModello() = default;

Errore TabularioModello::Apri(const QString& stringaConnessione, const QString& istruzione,
                                      int primeRighe)
{
    beginResetModel();
    Chiudi();
    righe_.clear();
    intestazioni_.clear();
    auto recordset = std::make_unique<Recordset>();
    const Errore errore = recordset->ApriSql(stringaConnessione, istruzione);
    if (!errore.presente()) {
        for (int i = 0; i < recordset->NumeroCampi(); ++i)
            intestazioni_.append(recordset->NomeCampo(i));
        recordset_ = std::move(recordset);
    }
    endResetModel();
    if (!errore.presente())
        LeggiBlocco(primeRighe);
    return errore;
}

bool TabularioModello::LeggiBlocco(int righe)
{
    if (!recordset_)
        return false;
    std::vector<QVariantList> nuove;
    nuove.reserve(std::size_t(righe));
    Errore errore;
    const int campi = int(intestazioni_.size());
    while (int(nuove.size()) < righe && !recordset_->FineFile()) {
        QVariantList riga;
        riga.reserve(campi);
        for (int i = 0; i < campi; ++i)
            riga.append(recordset_->Valore(i));
        nuove.push_back(std::move(riga));
        errore = recordset_->MoveNext();
        if (errore.presente())
            break;
    }
    if (errore.presente() || recordset_->FineFile())
        Chiudi();
    if (!nuove.empty()) {
        const int primo = int(righe_.size());
        beginInsertRows({}, primo, primo + int(nuove.size()) - 1);
        std::move(nuove.begin(), nuove.end(), std::back_inserter(righe_));
        endInsertRows();
    }
    if (errore.presente())
        emit ErroreLettura(errore);
    return recordset_ != nullptr;
}

void TabularioModello::Chiudi()
{
    if (recordset_)
        ChiudiRecordset(recordset_);
}

int TabularioModello::rowCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : int(righe_.size());
}

int TabularioModello::columnCount(const QModelIndex& genitore) const
{
    return genitore.isValid() ? 0 : int(intestazioni_.size());
}

QVariant TabularioModello::data(const QModelIndex& indice, int ruolo) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount())
        return {};
    const QVariant& valore = righe_[std::size_t(indice.row())][indice.column()];
    if (ruolo == Qt::DisplayRole)
        return TestoDelCampo(valore);
    if (ruolo == RuoloValore)
        return valore;
    return {};
}

QVariant TabularioModello::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (ruolo != Qt::DisplayRole)
        return {};
    if (orientamento == Qt::Horizontal)
        return sezione < intestazioni_.size() ? intestazioni_[sezione] : QVariant();
    return sezione + 1;
}

bool TabularioModello::canFetchMore(const QModelIndex& genitore) const
{
    return !genitore.isValid() && recordset_ != nullptr;
}

void TabularioModello::fetchMore(const QModelIndex& genitore)
{
    if (!genitore.isValid())
        LeggiBlocco(RighePerBlocco);
}

QStringList TabularioModello::TestiRiga(int riga) const
{
    QStringList testi;
    for (int colonna = 0; colonna < columnCount(); ++colonna)
        testi.append(data(index(riga, colonna), Qt::DisplayRole).toString());
    return testi;
}
