#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include "DialoghiRegistratore.h"

class AmbienteProva;

// One row of Posta as a test wants it; a null QVariant stands for Null.
struct DocumentoProva
{
    QVariant stampa, tipo, numero, data, codice, email;
};

// A real archive in the test's program folder: Velmira.ini points DataBase at
// the folder "server" (holding dati.mdb) and CartellaPDF at "server/pdf".
struct ArchivioProva
{
    explicit ArchivioProva(const AmbienteProva& ambiente, const QList<DocumentoProva>& documenti = {});

    // Adds rows to Posta in one transaction; stops the test on an error.
    void Inserisci(const QList<DocumentoProva>& documenti) const;
    // Writes a PDF (any bytes) for each file name into the PDF folder.
    void ScriviPdf(const QStringList& nomi) const;

    QString database;
    QString cartellaPdf;
};

// A document of a normal row: the file name, type, number, date and code.
DocumentoProva Documento(const QString& stampa, const QString& tipo, const QString& numero, const QDate& data,
                         const QString& codice);

// A message as the user meets it, "icon|title|text", for comparing all of a
// test's messages in one go.
QString Messaggio(Icona icona, const QString& testo, const QString& titolo = TitoloApplicazione);
QStringList Messaggi(const DialoghiRegistratore& dialoghi);
