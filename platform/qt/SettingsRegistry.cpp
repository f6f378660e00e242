#include "SettingsRegistry.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <QtEndian>

#include <cstring>
#include <optional>

#include "WindowReach.h"

namespace {

QString GroupOf(const std::string& key) {
  return QString::fromStdString(key).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The stored spelling of a value name, found without regard to letter case.
std::optional<QString> StoredName(QSettings& settings, const std::string& name) {
  const QString wanted = QString::fromStdString(name);
  for (const QString& stored : settings.childKeys())
    if (stored.compare(wanted, Qt::CaseInsensitive) == 0) return stored;
  return std::nullopt;
}

TRegistryStore* installed = nullptr;

}  // namespace

bool TSettingsRegistry::ReadBinary(const std::string& key, const std::string& name, void* data, std::size_t size) {
  QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Corvane"));
  settings.beginGroup(GroupOf(key));
  const std::optional<QString> stored = StoredName(settings, name);
  if (!stored) return false;
  // A text or number in place of the binary value is no value of any size.
  const QVariant value = settings.value(*stored);
  if (value.typeId() != QMetaType::QByteArray) return false;
  const QByteArray bytes = value.toByteArray();
  if (static_cast<std::size_t>(bytes.size()) != size) return false;
  std::memcpy(data, bytes.constData(), size);
  return true;
}

bool TSettingsRegistry::WriteBinary(const std::string& key, const std::string& name, const void* data,
                                    std::size_t size) {
  QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Corvane"));
  settings.beginGroup(GroupOf(key));
  const QString stored = StoredName(settings, name).value_or(QString::fromStdString(name));
  settings.setValue(stored, QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size)));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool TSettingsRegistry::ValueExists(const std::string& key, const std::string& name) {
  QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Corvane"));
  settings.beginGroup(GroupOf(key));
  return StoredName(settings, name).has_value();
}

TRegistryStore& Registry() {
  static TSettingsRegistry own;
  return installed ? *installed : own;
}

void SetRegistry(TRegistryStore* store) { installed = store; }

bool ReadWindowRect(const std::string& name, TWindowRect& rect) {
  unsigned char bytes[16];
  if (!Registry().ReadBinary(RegistryKey, name, bytes, sizeof bytes)) return false;
  rect.Left = qFromLittleEndian<std::int32_t>(bytes);
  rect.Top = qFromLittleEndian<std::int32_t>(bytes + 4);
  rect.Width = qFromLittleEndian<std::int32_t>(bytes + 8);
  rect.Height = qFromLittleEndian<std::int32_t>(bytes + 12);
  return true;
}

bool WriteWindowRect(const std::string& name, const TWindowRect& rect) {
  unsigned char bytes[16];
  qToLittleEndian(rect.Left, bytes);
  qToLittleEndian(rect.Top, bytes + 4);
  qToLittleEndian(rect.Width, bytes + 8);
  qToLittleEndian(rect.Height, bytes + 12);
  return Registry().WriteBinary(RegistryKey, name, bytes, sizeof bytes);
}

void RestoreWindowRect(const std::string& name, QWidget& window) {
  TWindowRect rect;
  if (!ReadWindowRect(name, rect)) return;
  PlaceOnScreen(window, QPoint(rect.Left, rect.Top), QSize(rect.Width, rect.Height));
}

void StoreWindowRect(const std::string& name, const QWidget& window) {
  WriteWindowRect(name, TWindowRect{window.x(), window.y(), window.width(), window.height()});
}
