#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <memory>

// What the system tells about the files of one folder as they change, where
// it tells anything; the watcher catches up with the rest by reading the
// folder again.
class NotificheCartella : public QObject
{
    Q_OBJECT

public:
    enum class Tipo {
        Creato,   // made and maybe still being written
        Completo, // closed after writing, or renamed in
        Tolto,    // deleted or renamed away
        Perse     // notifications were lost, or the folder itself went
    };
    struct Evento
    {
        Tipo tipo;
        QByteArray nome; // empty for Perse
    };

    using QObject::QObject;

    // Starts (again) watching `cartella`; false when no notification will come for it.
    virtual bool Osserva(const QString& cartella) = 0;
    virtual bool Attive() const = 0;
    // A folder served by another machine: its writes raise no notification here.
    virtual bool DiRete(const QString& cartella) const = 0;
    // No more events from now on.
    virtual void Sospendi() = 0;

    // The best the running system offers.
    static std::unique_ptr<NotificheCartella> DelSistema();

signals:
    void Eventi(const QList<NotificheCartella::Evento>& eventi);
};

// For systems that tell nothing: the watcher reads the folder at intervals.
class NotificheAssenti : public NotificheCartella
{
public:
    bool Osserva(const QString&) override { return false; }
    bool Attive() const override { return false; }
    bool DiRete(const QString&) const override { return false; }
    void Sospendi() override {}
};
