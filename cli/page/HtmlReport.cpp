#include "cli/page/HtmlReport.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <map>
#include <stdexcept>

#include "cli/page/ReportData.h"

// Outside any namespace, as Qt asks: registers the page's template, which a static link would
// otherwise leave out.
static void initReportTemplate() {
  Q_INIT_RESOURCE(report);
}

namespace orvendale::cli {

namespace {
// A file of the page's template, built into the program (report.qrc).
QString templateFile(const char* name) {
  QFile file(QString(":/page/") + name);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::logic_error(std::string("the report template has no ") + name);
  }
  return QString::fromUtf8(file.readAll());
}

// Script text inlined in a <script> element: "</script" would end the element early, and "<\/"
// means the same in JavaScript's strings and regular expressions.
QString scriptText(QString text) {
  static const QRegularExpression end("</(script)", QRegularExpression::CaseInsensitiveOption);
  return text.replace(end, "<\\/\\1");
}

// The library without the lines of its banner that are web addresses: the page names none.
QString libraryText(const std::string& chartJs) {
  static const QRegularExpression address(R"(^\s*\*\s*https?://\S*\s*$\n?)",
                                          QRegularExpression::MultilineOption);
  return scriptText(QString::fromStdString(chartJs).remove(address));
}

// The data as JSON that no text in it can end its <script> element: "<", ">" and "&" only occur
// in JSON's strings, where their \u escapes mean the same.
QString dataText(const QJsonObject& data) {
  return QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact))
      .replace('<', "\\u003c")
      .replace('>', "\\u003e")
      .replace('&', "\\u0026");
}

// The template with each @@NAME@@ replaced by its text; the texts put in are not searched.
QString filled(const QString& page, const std::map<QString, QString>& texts) {
  static const QRegularExpression placeholder("@@([A-Z]+)@@");
  QString result;
  qsizetype done = 0;
  for (auto matches = placeholder.globalMatch(page); matches.hasNext();) {
    const QRegularExpressionMatch match = matches.next();
    result += page.mid(done, match.capturedStart() - done) + texts.at(match.captured(1));
    done = match.capturedEnd();
  }
  return result + page.mid(done);
}
}  // namespace

std::string htmlReport(const std::vector<MachineSessions>& machines, int workloadRevision,
                       const std::string& chartJs) {
  [[maybe_unused]] static const bool registered = (initReportTemplate(), true);
  return filled(templateFile("report.html"),
                {
                    {"STYLE", templateFile("report.css")},
                    {"DATA", dataText(reportData(machines, workloadRevision))},
                    {"CHARTJS", libraryText(chartJs)},
                    {"RENDERER", scriptText(templateFile("report.js"))},
                })
      .toStdString();
}

}  // namespace orvendale::cli
