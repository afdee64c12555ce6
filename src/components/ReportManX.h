#pragma once

#include "components/ComponenteReport.h"

#include <QHash>

class DocumentoReport;

// The program's report engine: reads the layout from the report file (a bare
// name is looked for in the program's folder), runs the layout's data set
// through the archive layer on the connection of its alias, lays the rows out
// in pages and shows them in a preview window, or prints them.
class ReportManX : public ComponenteReport
{
public:
    static inline const QString NomeClasse = QStringLiteral("ReportMan.ReportManX");
    // Makes the engine available under its class name.
    static void Registra();

    void FileName(const QString& file) override { file_ = file; }
    void Title(const QString& titolo) override { titolo_ = titolo; }
    void SetParamValue(const QString& parametro, const QString& valore) override;
    void SetDatabaseConnectionString(const QString& alias, const QString& stringaConnessione) override;
    void SetDatasetSQL(const QString& dataset, const QString& istruzione) override;
    void Preview(bool anteprima) override { anteprima_ = anteprima; }
    bool Execute() override;
    QString Errore() const override { return errore_; }

    // The report laid out in pages, or null (with Errore()) when it cannot be made.
    std::shared_ptr<const DocumentoReport> Prepara();

private:
    QString file_;
    QString titolo_;
    QHash<QString, QString> parametri_;
    QHash<QString, QString> connessioni_;
    QHash<QString, QString> dataset_;
    bool anteprima_ = true;
    QString errore_;
};
