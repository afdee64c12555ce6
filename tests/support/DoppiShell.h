#pragma once

#include "shell/ApriStampaFile.h"
#include "shell/SelezionaCartella.h"

#include <QQueue>
#include <QStringList>

// Records what the program asked the desktop to open, without starting anything.
class ApertoreRegistratore : public ApertoreFile
{
public:
    int Apri(const QString& percorso, const QString& verbo, bool ridotta) override
    {
        aperti.append(percorso);
        verbi.append(verbo);
        ridotte.append(ridotta);
        return esito;
    }
    QStringList aperti;
    QStringList verbi;
    QList<bool> ridotte;
    int esito = 42; // what the desktop answers
};

// Answers the folder picker from a script (cancel when nothing is left).
class SelettoreCartellaFinto : public SelettoreCartella
{
public:
    QString Scegli(QWidget*, const QString& richiesta) override
    {
        richieste.append(richiesta);
        return risposte.isEmpty() ? QString() : risposte.dequeue();
    }
    QStringList richieste;
    QQueue<QString> risposte;
};
