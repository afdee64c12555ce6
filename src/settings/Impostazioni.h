#pragma once

#include <QString>

// The program's settings file, Velmira.ini in the program's folder, and the
// values shared by the whole program.

QString PercorsoVelmiraIni();
bool EsisteVelmiraIni();

QString LeggiIni(const QString& sezione, const QString& chiave);
void ScriviIni(const QString& sezione, const QString& chiave, const QString& valore);

// The mail body is stored on one line with "+" for each line break.
// lettura true: `messaggio` becomes the stored text with its line breaks back.
// lettura false: an empty `messaggio` writes nothing; otherwise it is stored.
void LeggiScriviMessaggio(QString& messaggio, bool lettura);

struct EmailImpostazioni
{
    QString Indirizzo;
    QString SMTP;
    QString UserID;
    QString Password;
    QString Oggetto;
    QString Messaggio; // with its line breaks
    QString Porta;
};

// The e-mail settings as the file says them now.
EmailImpostazioni LeggiImpostazioniEmail();
