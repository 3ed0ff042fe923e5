#include "gui/messages_pt.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <string_view>
#include <utility>

#include "app/cp1252.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

// Longer phrases first, where one holds another.
const std::pair<const char*, std::string_view> kPhrases[] = {
    {"is not a regular file (a device, FIFO or socket): refused",
     "não é um arquivo comum (é um dispositivo, FIFO ou soquete): recusado"_cp},
    {"is not a regular file (a FIFO, a device or a socket)",
     "não é um arquivo comum (é um FIFO, dispositivo ou soquete)"_cp},
    {"is the remittance being read: move or rename the remittance first",
     "é a remessa que está sendo lida: mova ou renomeie a remessa antes"_cp},
    {"is a directory, not a file", "é uma pasta, não um arquivo"_cp},
    {"no file name was given", "nenhum nome de arquivo foi informado"_cp},
    {"cannot make a temporary file in", "não foi possível criar um arquivo temporário em"_cp},
    {"cannot read a temporary file in", "não foi possível ler um arquivo temporário em"_cp},
    {"cannot write a temporary file in", "não foi possível gravar um arquivo temporário em"_cp},
    {"cannot create the directory", "não foi possível criar a pasta"_cp},
    {"cannot create the file", "não foi possível criar o arquivo"_cp},
    {"cannot follow the symbolic link", "não foi possível seguir o link simbólico"_cp},
    {"cannot open the file", "não foi possível abrir o arquivo"_cp},
    {"cannot read the file", "não foi possível ler o arquivo"_cp},
    {"cannot replace the file", "não foi possível substituir o arquivo"_cp},
    {"cannot write the file", "não foi possível gravar o arquivo"_cp},
    {"refused, nothing written", "recusado, nada foi gravado"_cp},
    {"No such file or directory", "arquivo ou pasta inexistente"_cp},
    {"Permission denied", "permissão negada"_cp},
    {"Is a directory", "é uma pasta"_cp},
    {"No space left on device", "sem espaço no dispositivo"_cp},
    {"Read-only file system", "sistema de arquivos somente leitura"_cp},
    {"File exists", "o arquivo já existe"_cp},
    {"Out of memory", "Memória insuficiente"_cp},
    {"I/O error", "Erro de E/S"_cp},
};

}  // namespace

QString InPortuguese(QString message) {
  // The second line of a conversion error: where the command was.
  static const QRegularExpression kRecord(QStringLiteral("^File '(.*)', record (\\d+)\\.$"),
                                          QRegularExpression::MultilineOption);
  static const QRegularExpression kPrompt(QStringLiteral("^Answer to the prompt \"(.*)\"\\.$"),
                                          QRegularExpression::MultilineOption);
  message.replace(kRecord, QStringLiteral("Arquivo '\\1', registro \\2."));
  message.replace(kPrompt, FromCp1252("Resposta à pergunta \"\\1\"."_cp));
  for (const auto& [english, portuguese] : kPhrases) message.replace(QLatin1String(english), FromCp1252(portuguese));
  return message;
}

bool InstallPortugueseTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  // Where Qt keeps them on Linux, or a "translations" folder beside the program (Windows).
  for (const QString& dir : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    if (translator->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace verilote::gui
