#pragma once

#include "AmbienteProva.h"
#include "ArchivioDiProva.h"

#include <QStringList>
#include <functional>

class QSqlDatabase;
class cImporta;

// An ElencoFileImp.txt as the list shows it: the heading, then each entry
// (lines split at '\n') followed by an empty line, the last entry without.
QStringList Elenco(const QStringList& voci);
// The entry of a file that was not archived.
QString Problema(const QString& nome, const QString& motivo);
// The entry that says how many rows the clean-up deleted.
QString Tolte(int righe);
// Names of `quanti` documents of one client, numbered from 1, in name order.
QStringList Numerati(int quanti);

// A PDF folder, a Marvena folder with spooling.ini and an empty archive,
// inside a test's temporary program folder.
class ProvaImportazione
{
public:
    // `nomi`: documents put in the PDF folder at once.
    explicit ProvaImportazione(AmbienteProva& ambiente, const QStringList& nomi = {});

    void scriviLunghezze(int codice, int tipo, int numero) const;
    // Creates empty files in the PDF folder.
    void documenti(const QStringList& nomi) const;

    // Gives the engine `cartella` (the PDF folder when empty), the archive and
    // the settings file, in the order the window gives them.
    void prepara(cImporta& importazione, const QString& cartella = {}) const;
    // A run of a prepared engine on its own thread, driven as the window
    // drives it; `durante` is called on the run's thread at its first report,
    // before the first file. Returns ElencoFileImp.txt.
    QStringList importa(const QString& cartella = {}, const std::function<void()>& durante = {}) const;

    // ElencoFileImp.txt as lines; fails the test if a line does not end in CR LF.
    QStringList elenco() const;
    // Posta as stored, "Stampa|Codice|Tipo|NumDoc|Data|email", by Stampa.
    QStringList archivio() const;

    AmbienteProva& ambiente;
    QString pdf;
    QString marvena;
    QString database;
    QString fileIni;
};
