#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The archive's tables, indexes and the query qryEmail, described once. Each
// engine's layout, the server engine's names and sizes of a result's fields
// and the transfer's column lists are all read from here.

enum class TipoColonna {
    Chiave,      // the number that identifies a row (ColonnaChiave)
    Testo,       // compared without regard to case; a size, when given, is enforced
    TestoEsatto, // the program's own text, compared as it is (a digest, a list's lines)
    Data,
    DataOra,
    Intero,
    Parole // the words of a document's text, in the form both engines index
};

struct ColonnaSchema
{
    QString nome; // spelled as the program writes it
    TipoColonna tipo;
    int dimensione = 0; // declared size of a text, 0 if none
    bool chiavePrimaria = false; // for a TestoEsatto: it identifies the row
};

struct IndiceSchema
{
    QString nome;
    QStringList colonne;
    // The searches read rows in this index's order (not only look values
    // up): the server keeps empty values first, as the statements ask.
    bool ordinato = true;
    bool unico = false; // no two rows share its values
};

struct TabellaSchema
{
    QString nome;
    QList<ColonnaSchema> colonne;
    QList<IndiceSchema> indici;
    bool trasferita = true; // copied when an archive moves to the server
    // The table whose row each row here belongs to, by the same key: a row
    // goes when that row goes.
    QString segue = {};
    // Added after archives were already in use: made, where missing, the
    // first time it is needed.
    bool aggiunta = false;

    const ColonnaSchema* Colonna(const QString& nome) const; // without regard to case
};

// A column of the query: `nome` as the query spells it, from `tabella`.`colonna`.
struct ColonnaVista
{
    QString nome;
    QString tabella;
    QString colonna;
};

// The query of sent e-mails: each sending joined with its document by file name.
struct VistaSchema
{
    QString nome;
    QList<ColonnaVista> colonne;
    QString tabella;     // FROM
    QString unita;       // INNER JOIN
    QString colonnaUnione; // equal in both
};

const QList<TabellaSchema>& TabelleArchivio();
const VistaSchema& VistaEmail();
const TabellaSchema* TabellaArchivio(const QString& nome); // without regard to case

// The statements that lay out a new archive on each engine, in order.
QStringList SchemaIncorporato();
QStringList SchemaServer();
// Those of the tables added since (see `aggiunta`), each made only where missing.
QStringList SchemaAggiuntoIncorporato();
QStringList SchemaAggiuntoServer();

// The text of the archived documents, one row per document (by Posta's
// key), with what the index needs to tell whether the file changed since.
inline const QString TabellaTesti = QStringLiteral("TestiDocumenti");
// The embedded engine's full-text index of its Parole, and the server's
// column of the same words as the server indexes them.
inline const QString IndiceParole = QStringLiteral("TestiDocumenti_Parole");
inline const QString ColonnaParoleIndicizzate = QStringLiteral("parole_indice");
// The statements that add one table, with its indexes, to an archive made
// before the program knew it.
QStringList SchemaTabella(const TabellaSchema& tabella, bool server);
