#include "archive/SchemaArchivio.h"

#include "archive/Archivio.h"

#include <algorithm>

namespace {

ColonnaSchema testo(const char* nome, int dimensione = 0)
{
    return {QString::fromLatin1(nome), TipoColonna::Testo, dimensione};
}

const ColonnaSchema chiave{QStringLiteral("Id"), TipoColonna::Chiave};

ColonnaSchema esatto(const char* nome, int dimensione = 0)
{
    return {QString::fromLatin1(nome), TipoColonna::TestoEsatto, dimensione};
}

IndiceSchema unico(const char* nome, const char* colonna)
{
    return {QString::fromLatin1(nome), {QString::fromLatin1(colonna)}, false, true};
}

IndiceSchema ricerca(const char* nome, const char* colonna)
{
    return {QString::fromLatin1(nome), {QString::fromLatin1(colonna)}, false};
}

// How each engine says a layout. The server folds unquoted names to lower
// case; it is told them so, and its text compares without regard to case
// through a collation that ignores case alone (and with it ORDER BY and
// DISTINCT). The embedded engine enforces sizes and dates through checks;
// the checks carry the same names on both, so that a value too long is
// reported in the same words.
struct Stesura
{
    bool server;

    QString Nome(const QString& nome) const { return server ? nome.toLower() : nome; }

    QString Colonna(const ColonnaSchema& c) const
    {
        const QString nome = Nome(c.nome);
        const QString vincolo = QStringLiteral("\n            CONSTRAINT \"il campo %1 ");
        QString dichiarata;
        switch (c.tipo) {
        case TipoColonna::Chiave:
            return nome + (server ? QStringLiteral(" bigserial PRIMARY KEY") : QStringLiteral(" INTEGER PRIMARY KEY"));
        case TipoColonna::Testo:
            if (server)
                dichiarata = nome + QStringLiteral(" text COLLATE velmira_ci");
            else
                dichiarata = nome + (c.dimensione > 0 ? QStringLiteral(" VARCHAR(%1)").arg(c.dimensione) : QStringLiteral(" TEXT"))
                    + QStringLiteral(" COLLATE NOCASE");
            if (c.dimensione > 0)
                dichiarata += vincolo.arg(c.nome)
                    + QStringLiteral("accetta al massimo %1 caratteri\" CHECK (length(%2) <= %1)").arg(c.dimensione).arg(nome);
            return dichiarata;
        case TipoColonna::TestoEsatto:
            dichiarata = nome + QLatin1Char(' ')
                + (c.dimensione > 0 ? QStringLiteral("VARCHAR(%1)").arg(c.dimensione) : QStringLiteral("TEXT"));
            if (server)
                dichiarata = nome + dichiarata.mid(nome.size()).toLower();
            return dichiarata + (c.chiavePrimaria ? QStringLiteral(" PRIMARY KEY") : QString());
        case TipoColonna::Data:
            if (server)
                return nome + QStringLiteral(" date");
            return nome + QStringLiteral(" DATE") + vincolo.arg(c.nome)
                + QStringLiteral("accetta solo date\" CHECK (%1 IS NULL OR date(%1) = %1)").arg(nome);
        case TipoColonna::DataOra:
            return nome + (server ? QStringLiteral(" timestamp(0)") : QStringLiteral(" DATETIME"));
        case TipoColonna::Intero:
            return nome + (server ? QStringLiteral(" bigint") : QStringLiteral(" INTEGER"))
                + (c.chiavePrimaria ? QStringLiteral(" PRIMARY KEY") : QString());
        case TipoColonna::Parole:
            // The server keeps beside them the same words as its index reads them.
            if (server)
                return nome + QStringLiteral(" text,\n        %1 tsvector GENERATED ALWAYS AS "
                                             "(to_tsvector('simple'::regconfig, coalesce(%2, ''))) STORED")
                                  .arg(ColonnaParoleIndicizzate, nome);
            return nome + QStringLiteral(" TEXT");
        }
        return nome;
    }

    // A key that belongs to another table's row: the server drops the row
    // with it; the embedded engine, whose other programs may not enforce
    // foreign keys, does it by a trigger (Seguito).
    QString Appartenenza(const TabellaSchema& t) const
    {
        if (!server || t.segue.isEmpty())
            return {};
        return QStringLiteral(" REFERENCES %1 (%2) ON DELETE CASCADE").arg(Nome(t.segue), Nome(ColonnaChiave));
    }

    QStringList Seguito(const TabellaSchema& t) const
    {
        if (server || t.segue.isEmpty())
            return {};
        return {QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_Tolta%2 AFTER DELETE ON %1 BEGIN "
                               "DELETE FROM %2 WHERE %3 = old.%3; END")
                    .arg(t.segue, t.nome, ColonnaChiave)};
    }

    // The full-text index of a table's words: the embedded engine's FTS5
    // table over the words kept in the table itself, kept up by triggers;
    // the server's index on its own reading of them.
    QStringList IndiceParoleDi(const TabellaSchema& t) const
    {
        const auto parole = std::find_if(t.colonne.begin(), t.colonne.end(),
                                         [](const ColonnaSchema& c) { return c.tipo == TipoColonna::Parole; });
        if (parole == t.colonne.end())
            return {};
        if (server)
            return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3)")
                        .arg(Nome(IndiceParole), Nome(t.nome), ColonnaParoleIndicizzate)};
        const QString colonna = parole->nome;
        const QString togli = QStringLiteral("INSERT INTO %1 (%1, rowid, %2) VALUES ('delete', old.%3, old.%2);")
                                  .arg(IndiceParole, colonna, ColonnaChiave);
        const QString metti =
            QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (new.%3, new.%2);").arg(IndiceParole, colonna, ColonnaChiave);
        const QString innesco = QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_%2 AFTER %3 ON %1 BEGIN %4 END");
        return {QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts5(%2, content='%3', "
                               "content_rowid='%4', tokenize='unicode61 remove_diacritics 2')")
                    .arg(IndiceParole, colonna, t.nome, ColonnaChiave),
                innesco.arg(t.nome, QStringLiteral("Inserita"), QStringLiteral("INSERT"), metti),
                innesco.arg(t.nome, QStringLiteral("Tolta"), QStringLiteral("DELETE"), togli),
                innesco.arg(t.nome, QStringLiteral("Cambiata"), QStringLiteral("UPDATE"), togli + QLatin1Char(' ') + metti)};
    }

    QString Tabella(const TabellaSchema& t) const
    {
        QStringList colonne;
        for (const ColonnaSchema& c : t.colonne)
            colonne.append(Colonna(c) + (c.chiavePrimaria ? Appartenenza(t) : QString()));
        const QString crea = t.aggiunta ? QStringLiteral("CREATE TABLE IF NOT EXISTS") : QStringLiteral("CREATE TABLE");
        // A short table reads best on one line.
        if (colonne.size() <= 2)
            return QStringLiteral("%1 %2 (%3)").arg(crea, Nome(t.nome), colonne.join(QStringLiteral(", ")));
        return QStringLiteral("%1 %2 (\n        %3)").arg(crea, Nome(t.nome), colonne.join(QStringLiteral(",\n        ")));
    }

    QStringList Completa(const TabellaSchema& t) const
    {
        QStringList istruzioni{Tabella(t)};
        for (const IndiceSchema& i : t.indici)
            istruzioni.append(Indice(t, i));
        return istruzioni + IndiceParoleDi(t) + Seguito(t);
    }

    QStringList Aggiunte() const
    {
        QStringList istruzioni;
        for (const TabellaSchema& t : TabelleArchivio())
            if (t.aggiunta)
                istruzioni += Completa(t);
        return istruzioni;
    }

    QString Indice(const TabellaSchema& t, const IndiceSchema& i) const
    {
        QStringList colonne;
        for (const QString& c : i.colonne)
            colonne.append(Nome(c) + (server && i.ordinato ? QStringLiteral(" NULLS FIRST") : QString()));
        return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
            .arg(i.unico ? QStringLiteral("UNIQUE ") : QString(), Nome(i.nome), Nome(t.nome), colonne.join(QStringLiteral(", ")));
    }

    QString Vista(const VistaSchema& v) const
    {
        // Lines of at most a hundred characters, as written by hand.
        const QString rientro = QStringLiteral("\n               ");
        QString elenco;
        qsizetype riga = 15;
        for (const ColonnaVista& c : v.colonne) {
            const QString voce = QStringLiteral("%1.%2 AS %3").arg(Nome(c.tabella), Nome(c.colonna), Nome(c.nome));
            if (!elenco.isEmpty()) {
                elenco += QLatin1Char(',');
                const bool aCapo = riga + 2 + voce.size() > 100;
                elenco += aCapo ? rientro : QStringLiteral(" ");
                riga = aCapo ? 15 : riga + 2;
            }
            elenco += voce;
            riga += voce.size();
        }
        const QString unione = Nome(v.colonnaUnione);
        return QStringLiteral("CREATE VIEW %1 AS\n        SELECT %2\n        FROM %3 INNER JOIN %4 ON %4.%5 = %3.%5")
            .arg(Nome(v.nome), elenco, Nome(v.tabella), Nome(v.unita), unione);
    }

    QStringList Schema() const
    {
        QStringList istruzioni;
        for (const TabellaSchema& t : TabelleArchivio())
            istruzioni += Completa(t);
        istruzioni.append(Vista(VistaEmail()));
        return istruzioni;
    }
};

} // namespace

const ColonnaSchema* TabellaSchema::Colonna(const QString& nome) const
{
    for (const ColonnaSchema& c : colonne)
        if (c.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const QList<TabellaSchema>& TabelleArchivio()
{
    // Empty values first in the indexes the searches read in order, and
    // the document key (code, date, type, number) as one index, which the
    // import asks for every file.
    static const QList<TabellaSchema> tabelle{
        {QStringLiteral("Posta"),
         {chiave, testo("Stampa"), testo("Tipo", 3), testo("NumDoc", 15),
          {QStringLiteral("Data"), TipoColonna::Data}, testo("Codice", 15), testo("email")},
         {{QStringLiteral("Posta_Data"), {QStringLiteral("Data"), QStringLiteral("Tipo")}},
          {QStringLiteral("Posta_NumDoc"), {QStringLiteral("NumDoc")}},
          {QStringLiteral("Posta_Chiave"),
           {QStringLiteral("Codice"), QStringLiteral("Data"), QStringLiteral("Tipo"), QStringLiteral("NumDoc")}},
          {QStringLiteral("Posta_Tipo"), {QStringLiteral("Tipo")}},
          {QStringLiteral("Posta_Stampa"), {QStringLiteral("Stampa")}, false}}},
        {QStringLiteral("EmailInviate"),
         {chiave, testo("Stampa"), {QStringLiteral("dtinvio"), TipoColonna::DataOra}, testo("EmailDest"), testo("Esito")},
         {{QStringLiteral("EmailInviate_Stampa"), {QStringLiteral("Stampa")}, false},
          {QStringLiteral("EmailInviate_dtinvio"), {QStringLiteral("dtinvio")}}}},
        // The lines of mail lists already stored (see RegistraInvii): the
        // program's own record, made again by the next list, not moved.
        {QStringLiteral("InviiRegistrati"),
         {{QStringLiteral("Impronta"), TipoColonna::TestoEsatto, 40, true},
          {QStringLiteral("Elenco"), TipoColonna::TestoEsatto}},
         {},
         false},
        // The documents' text for the search by words, made again from the
        // PDFs by `velmira indicizza` rather than moved. Stato says what the
        // last reading of the file (of Dimensione bytes, modified at
        // Modificato, ms since 1970) gave, Motivo why it failed.
        {TabellaTesti,
         {{ColonnaChiave, TipoColonna::Intero, 0, true},
          {QStringLiteral("Dimensione"), TipoColonna::Intero},
          {QStringLiteral("Modificato"), TipoColonna::Intero},
          {QStringLiteral("Stato"), TipoColonna::TestoEsatto, 12},
          {QStringLiteral("Motivo"), TipoColonna::TestoEsatto},
          {QStringLiteral("Testo"), TipoColonna::TestoEsatto},
          {QStringLiteral("Parole"), TipoColonna::Parole}},
         {},
         false,
         QStringLiteral("Posta"),
         true},
        // What proves each document was handed over: the Message-ID it went
        // under and the server's last word on it, stored with its line of
        // EmailInviate under the same key as InviiRegistrati's.
        {QStringLiteral("ProveInvio"),
         {chiave, esatto("Impronta", 40), testo("Stampa"), testo("EmailDest"),
          {QStringLiteral("dtinvio"), TipoColonna::DataOra}, esatto("MessageID"), esatto("Risposta")},
         {unico("ProveInvio_Impronta", "Impronta"), ricerca("ProveInvio_MessageID", "MessageID"),
          ricerca("ProveInvio_Stampa", "Stampa")}},
        // The certified-mail receipts taken, one row each, known by the
        // provider's own identifier so that a receipt read twice counts once.
        {QStringLiteral("RicevutePosta"),
         {chiave, esatto("Identificativo"), esatto("MessageID"), testo("Destinatario"), esatto("Tipo"),
          esatto("Stato"), {QStringLiteral("Quando"), TipoColonna::DataOra}, esatto("Motivo"), esatto("Verifica")},
         {unico("RicevutePosta_Identificativo", "Identificativo"), ricerca("RicevutePosta_MessageID", "MessageID")}},
        // How far each mailbox has been read: its UIDVALIDITY and the last UID seen.
        {QStringLiteral("CaselleLette"),
         {chiave, esatto("Casella"), esatto("UidValidity"), esatto("UltimoUid")},
         {unico("CaselleLette_Casella", "Casella")}},
    };
    return tabelle;
}

const VistaSchema& VistaEmail()
{
    const auto colonna = [](const char* nome, const char* tabella, const char* campo) {
        return ColonnaVista{QString::fromLatin1(nome), QString::fromLatin1(tabella), QString::fromLatin1(campo)};
    };
    static const VistaSchema vista{
        QStringLiteral("qryEmail"),
        {colonna("data", "Posta", "Data"), colonna("tipo", "Posta", "Tipo"), colonna("NumDoc", "Posta", "NumDoc"),
         colonna("Codice", "Posta", "Codice"), colonna("dtInvio", "EmailInviate", "dtinvio"),
         colonna("Stampa", "EmailInviate", "Stampa"), colonna("EmailDest", "EmailInviate", "EmailDest"),
         colonna("Esito", "EmailInviate", "Esito")},
        QStringLiteral("EmailInviate"),
        QStringLiteral("Posta"),
        QStringLiteral("Stampa")};
    return vista;
}

const TabellaSchema* TabellaArchivio(const QString& nome)
{
    for (const TabellaSchema& t : TabelleArchivio())
        if (t.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList SchemaIncorporato()
{
    return Stesura{false}.Schema();
}

QStringList SchemaAggiuntoIncorporato()
{
    return Stesura{false}.Aggiunte();
}

QStringList SchemaAggiuntoServer()
{
    return Stesura{true}.Aggiunte();
}

QStringList SchemaTabella(const TabellaSchema& tabella, bool server)
{
    return Stesura{server}.Completa(tabella);
}

QStringList SchemaServer()
{
    return QStringList{QStringLiteral("CREATE COLLATION IF NOT EXISTS velmira_ci (provider = icu, locale = "
                                      "'und-u-ks-level2', deterministic = false)")}
        + Stesura{true}.Schema();
}
