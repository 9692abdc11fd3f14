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

#endif
