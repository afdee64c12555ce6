#pragma once

#include "common/Errore.h"

#include <QString>
#include <QVariant>
#include <memory>

class Connessione;

// The kind of a field, as the archive declares it.
enum class TipoCampo { Testo, Intero, Decimale, Data, DataOra, Binario };

// The kind of a value as an engine's driver hands it, for a field whose
// kind is not declared (an expression such as year(data)).
TipoCampo TipoDaValore(QMetaType tipo);

// Rows of a statement or of a table, read one at a time from the first to the
// last, like the recordsets the program was first written on, and again
// from the first after MoveFirst.
//
// A statement recordset is read-only; a table recordset can also add rows,
// set fields, save, cancel a pending change and delete the current row.
// Date fields read as QDate (QDateTime for date and time), null fields as a
// null QVariant. A text given to a date field is read as day/month/year.
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // On a connection string: the recordset opens and owns its own connection.
    Errore ApriSql(const QString& stringaConnessione, const QString& istruzione);
    Errore ApriTabella(const QString& stringaConnessione, const QString& tabella);
    // On a connection already open for the current action.
    Errore ApriSql(Connessione& connessione, const QString& istruzione);
    Errore ApriTabella(Connessione& connessione, const QString& tabella);

    bool Aperto() const;
    void Chiudi();

    bool FineFile() const;   // past the last row (EOF)
    Errore MoveNext();
    // Back to the first row, to read the rows again.
    Errore MoveFirst();

    int NumeroCampi() const;
    QString NomeCampo(int indice) const;
    TipoCampo TipoDelCampo(int indice) const;
    int DimensioneCampo(int indice) const; // declared size of a text field, 0 if none
    int IndiceCampo(const QString& nome) const; // without regard to case; -1 if none

    QVariant Valore(int indice) const;
    QVariant Valore(const QString& nome) const;

    // Table recordsets only.
    void AddNew();
    Errore ImpostaValore(const QString& nome, const QVariant& valore);
    Errore Update();
    void CancelUpdate();

private:
    Errore ApriConnessionePropria(const QString& stringaConnessione);

    struct Dati;
    std::unique_ptr<Dati> d_;
};

// Closes the recordset if it is open and releases it.
void ChiudiRecordset(std::unique_ptr<Recordset>& recordset);
