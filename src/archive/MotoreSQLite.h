#pragma once

#include "archive/MotoreArchivio.h"

// The embedded archive: one SQLite file.
class MotoreSQLite : public MotoreArchivio
{
public:
    Errore Apri(QSqlDatabase& db, const QString& nomeConnessione,
                        const QString& percorso) const override;
    QString Traduci(const QString& istruzioneJet) const override;
    QStringList IstruzioniInizioScrittura() const override;
    bool TransazioneAttiva(const QSqlDatabase& db) const override;
    void ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const override;
    void AggiornaStatistiche(QSqlDatabase& db) const override;
    Errore ErroreDa(const QSqlError& errore) const override;
    QList<DescrizioneCampo> Campi(const QSqlQuery& query) const override;
    QStringList SchemaAggiunto() const override;
    QString CondizioneParole(const QList<FraseCercata>& frasi) const override;

    static const MotoreSQLite& Istanza();
};
