#pragma once

#include "common/Errore.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class Recordset;

// The rows of one statement, read from the archive a block at a time so that
// the first rows show at once however many follow.
class TabularioModello : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The role that gives a field's own value (a date as a date) for sorting.
    static constexpr int RuoloValore = Qt::UserRole;

    explicit TabularioModello(QObject* genitore = nullptr);
    ~TabularioModello() override;

    // Runs the statement and reads the first block of rows.
    Errore Apri(const QString& stringaConnessione, const QString& istruzione, int primeRighe);
    // Reads up to `righe` more rows; false when none are left to read.
    bool LeggiBlocco(int righe);
    bool TutteLette() const { return !recordset_; }
    // Stops reading and releases the archive; the rows read stay listed.
    void Chiudi();

    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override;
    bool canFetchMore(const QModelIndex& genitore) const override;
    void fetchMore(const QModelIndex& genitore) override;

    // The row's fields as the user sees them.
    QStringList TestiRiga(int riga) const;

signals:
    // Reading stopped half way; the rows read so far stay listed.
    void ErroreLettura(const Errore& errore);

private:
    std::unique_ptr<Recordset> recordset_;
    QStringList intestazioni_;
    std::vector<QVariantList> righe_;
};
