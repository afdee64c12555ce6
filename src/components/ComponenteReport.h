#pragma once

#include <QString>
#include <functional>
#include <memory>

// The report engine as the program drives it: set the layout file, the
// preview title, the parameters, where each database alias leads and the
// statement of each data set, then run it. Execute either shows the report
// (Preview true) or prints it; it returns false when the report cannot be
// made, with the reason in Errore().
class ComponenteReport
{
public:
    virtual ~ComponenteReport() = default;

    virtual void FileName(const QString& file) = 0;
    virtual void Title(const QString& titolo) = 0;
    virtual void SetParamValue(const QString& parametro, const QString& valore) = 0;
    virtual void SetDatabaseConnectionString(const QString& alias, const QString& stringaConnessione) = 0;
    virtual void SetDatasetSQL(const QString& dataset, const QString& istruzione) = 0;
    virtual void Preview(bool anteprima) = 0;
    virtual bool Execute() = 0;

    virtual QString Errore() const = 0;

    // A new component by its class name, from the makers registered by the
    // program (or by a test); null when no maker carries that name.
    using Fabbrica = std::function<std::unique_ptr<ComponenteReport>()>;
    static std::unique_ptr<ComponenteReport> Crea(const QString& nomeClasse);
    static void Registra(const QString& nomeClasse, Fabbrica fabbrica);
};
