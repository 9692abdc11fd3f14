#ifndef XMLFILEEXCEPTION_H
#define XMLFILEEXCEPTION_H

#include <QString>

// The one exception type of the data layer. Message is ready to show.
class TXmlFileException
{
public:
    enum TExceptionType
    {
        File_Error = 0,
        Xml_Error = 1
    };

    TXmlFileException(const QString& message, TExceptionType type)
        : Message(message), Type(type)
    {
    }

    QString Message;
    TExceptionType Type;
};

// How a parser's complaint about `what` ("file" or "data") is told.
inline TXmlFileException Xml_Parse_Error(const char* what, qint64 line, qint64 column,
                                         const QString& message)
{
    return TXmlFileException(QString("ERR:  Reference %1 XML parse error at line %2 column %3: %4")
                                 .arg(what)
                                 .arg(line)
                                 .arg(column)
                                 .arg(message),
                             TXmlFileException::Xml_Error);
}

#endif
