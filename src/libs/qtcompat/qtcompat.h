#pragma once

// The few places where Qt 5 and Qt 6 need different code. Everything else in
// the tree builds unchanged against either.

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QMouseEvent>
#include <QPoint>
#include <QString>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#else
#include <QTextCodec>
#endif

namespace vexa {
namespace qtcompat {

// Screen position of a mouse event, in whole pixels.
inline QPoint globalPos(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

// GBK bytes as text; Latin-1 when this Qt has no GBK decoder (Qt 6 gets it
// from ICU).
inline QString fromGbk(const char* bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringDecoder decoder("GBK");
    if (decoder.isValid())
        return decoder.decode(QByteArrayView(bytes));
#else
    if (QTextCodec* codec = QTextCodec::codecForName("GBK"))
        return codec->toUnicode(bytes);
#endif
    return QString::fromLatin1(bytes);
}

// Before the application object: scale to the screen's pixel ratio and use
// sharp pixmaps there. Qt 6 always does, and warns about the attributes.
inline void enableHighDpiScaling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QGuiApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}

// Folder of Qt's own language files.
inline QString qtTranslationsPath()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace qtcompat
} // namespace vexa
