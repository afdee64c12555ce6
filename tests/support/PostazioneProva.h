#pragma once

#include "AmbienteProva.h"
#include "ArchivioDiProva.h"

#include <QSet>
#include <QStringList>
#include <functional>

class cImporta;

// A workstation on 15/03/2014 10:30: the temporary program folder and a
// "server" folder beside it holding the archive (dati.mdb, empty or with the
// rows given), spooling.ini with widths 6/3/7 and the PDF folder. Velmira.ini
// points DataBase and CartellaPDF at them. Each row of Posta is written
// "file type number yyyy-mm-dd code" ("-" for Null, "''" for an empty
// text); `pdf` names the files put in the PDF folder.
struct PostazioneProva : AmbienteProva
{
    explicit PostazioneProva(const QStringList& righe = {}, const QStringList& pdf = {});

    QString pdf(const QString& nome) const { return cartellaPdf + QLatin1Char('/') + nome; }
    // Puts files (a small PDF each) in the PDF folder.
    void documenti(const QStringList& nomi) const;
    void scriviLunghezze(int codice, int tipo, int numero) const;

    // Gives the engine `cartella` (the PDF folder when empty), the archive and
    // spooling.ini, in the order the import window gives them.
    void prepara(cImporta& importazione, const QString& cartella = {}) const;
    // A run on its own thread, driven as the window drives it; `durante` is
    // called on the run's thread at its first report, before the first file.
    // Returns ElencoFileImp.txt.
    QStringList importa(const QString& cartella = {}, const std::function<void()>& durante = {}) const;
    // The options of the velmira commands that import this folder into this
    // archive (or `altro`), listing into the program folder (or `programma`).
    QStringList opzioni(const QString& programma = {}, const QString& altro = {}) const;
    // ElencoFileImp.txt as lines; a marker line when one does not end in CR LF.
    QStringList elenco() const;
    // Posta as stored, "Stampa|Codice|Tipo|NumDoc|Data|email", by Stampa.
    QStringList archivio() const;

    QString server;
    QString database;
    QString cartellaPdf;
    QString fileIni;
};

// An ElencoFileImp.txt as the list shows it: the heading, then each entry
// (lines split at '\n') preceded by an empty line.
QStringList Elenco(const QStringList& voci);
// The entry of a file that was not archived.
QString Problema(const QString& nome, const QString& motivo);
// The entry that says how many rows the clean-up deleted.
QString Tolte(int righe);
// The closing entry of a run that archived `quanti` files.
QString Archiviati(qsizetype quanti);
// Names of `quanti` documents of one client, numbered from 1, in name order.
QStringList Numerati(int quanti);
// The engine's verdict on the archive (the embedded file's integrity check;
// a server keeps its own), then its rows, distinct document keys and
// complete rows: "ok n n n" when sound.
QString StatoArchivio(const QString& database);
// The file names the archive's rows hold.
QSet<QString> StampeArchiviate(const QString& database);
