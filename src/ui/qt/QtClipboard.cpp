#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qlmib::ui::qt {
namespace {

QString mimeOf(std::int32_t format) {
    return format == ClipboardRTF ? QStringLiteral("text/rtf") : QStringLiteral("text/plain");
}

const QMimeData* current() { return QGuiApplication::clipboard()->mimeData(); }

}  // namespace

void QtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::SetText(std::string_view text, std::int32_t format) {
    auto data = std::make_unique<QMimeData>();
    if (const QMimeData* old = current()) {
        for (const QString& type : old->formats()) data->setData(type, old->data(type));
    }
    const QString mime = mimeOf(format);
    // Plain text also goes in as text, for the encodings other programs ask for.
    if (format == ClipboardRTF) data->setData(mime, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    else data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QGuiApplication::clipboard()->setMimeData(data.release());
}

std::string QtClipboard::GetText(std::int32_t format) const {
    const QMimeData* data = current();
    if (!data) return {};
    if (format == ClipboardRTF) return data->data(mimeOf(format)).toStdString();
    return data->hasText() ? data->text().toStdString() : std::string();
}

bool QtClipboard::GetFormat(std::int32_t format) const {
    const QMimeData* data = current();
    return data && data->hasFormat(mimeOf(format));
}

}  // namespace qlmib::ui::qt
