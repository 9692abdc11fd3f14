#include "elfobject.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace
{
const quint32 Segment_Load = 1;
const quint32 Segment_Dynamic = 2;
const quint32 Segment_Interpreter = 3;

const qint64 Tag_Needed = 1;
const qint64 Tag_String_Table = 5;
const qint64 Tag_String_Table_Size = 10;
const qint64 Tag_Soname = 14;
const qint64 Tag_Rpath = 15;
const qint64 Tag_Runpath = 29;
const qint64 Tag_Flags_1 = 0x6ffffffb;
const qint64 Tag_Auxiliary = 0x7ffffffd;
const qint64 Tag_Filter = 0x7fffffff;

// Limits well above any real file, so that hostile sizes cannot make the
// reader allocate without bound.
const quint64 Max_Dynamic_Size = 1 << 20;
const quint64 Max_String_Length = 1 << 16;
const quint64 Max_Interpreter_Length = 4096;

struct TSegment
{
    quint32 Type;
    quint64 Offset;
    quint64 Address;
    quint64 File_Size;
};

struct TDynamicEntry
{
    qint64 Tag;
    quint64 Value;
};

class TElfReader
{
public:
    TElfReader(const TByteSource& bytes, TElfObject* object) : d_bytes(bytes), d_object(*object) {}

    void Read();

private:
    bool Read_Header();
    bool Read_Segments(quint64 offset, quint64 count);
    bool Read_Interpreter();
    bool Read_Dynamic();
    bool Check_Whole(quint64 section_headers_end);
    bool Read_Strings(const std::vector<TDynamicEntry>& entries);
    bool Check_Searches();
    bool Name_At(quint64 offset, QByteArray* text);
    bool File_Offset(quint64 address, quint64* offset, quint64* available) const;
    bool String_At(quint64 offset, QByteArray* text) const;
    bool Whole(quint64 offset, quint64 length, QByteArray* bytes) const;
    quint64 Value(const QByteArray& bytes, int offset, int size) const;
    bool Fail(TElfObject::TStatus status, const QString& error);

    bool Is_64() const { return d_object.Class == 2; }

    const TByteSource& d_bytes;
    TElfObject& d_object;
    std::vector<TSegment> d_segments;
    quint64 d_strings = 0;       // file offset of the string table
    quint64 d_strings_size = 0;  // bytes of it that may be read
    QHash<quint64, QByteArray> d_names;  // by offset into the string table
    int d_name_bytes = 0;
};

quint64 TElfReader::Value(const QByteArray& bytes, int offset, int size) const
{
    quint64 value = 0;
    for (int index = 0; index < size; ++index)
    {
        const int at = d_object.Little_Endian ? offset + size - 1 - index : offset + index;
        value = (value << 8) | static_cast<quint8>(bytes.at(at));
    }
    return value;
}

bool TElfReader::Fail(TElfObject::TStatus status, const QString& error)
{
    d_object.Status = status;
    d_object.Error = error;
    return false;
}

bool TElfReader::Whole(quint64 offset, quint64 length, QByteArray* bytes) const
{
    *bytes = d_bytes.Read(offset, length);
    return static_cast<quint64>(bytes->size()) == length;
}

void TElfReader::Read()
{
    if (!Read_Header() || !d_object.Entry_Size_Valid)
        return;
    if (Read_Interpreter() && Read_Dynamic() && Check_Searches())
        d_object.Status = TElfObject::Read;
}

bool TElfReader::Check_Searches()
{
    const qint64 folders = (d_object.Has_Rpath ? d_object.Rpath.count(':') + 1 : 0) +
                           (d_object.Has_Runpath ? d_object.Runpath.count(':') + 1 : 0);
    const qint64 searches = folders * d_object.Needed.size();
    if (searches <= Elf::Max_Searches)
        return true;
    return Fail(TElfObject::Beyond_Limits,
                QString("its search paths of %1 folders for %2 libraries make more than %3 "
                        "places to look into")
                    .arg(folders)
                    .arg(d_object.Needed.size())
                    .arg(Elf::Max_Searches));
}

bool TElfReader::Read_Header()
{
    const QByteArray ident = d_bytes.Read(0, 16);
    if (!ident.startsWith("\x7f" "ELF"))
        return Fail(TElfObject::Not_Elf, "not an ELF file");
    if (ident.size() < 16)
        return Fail(TElfObject::Too_Short, "the ELF file is too short");
    d_object.Class = static_cast<quint8>(ident.at(4));
    const int data = static_cast<quint8>(ident.at(5));
    d_object.Little_Endian = data == 1;
    if ((d_object.Class != 1 && d_object.Class != 2) || (data != 1 && data != 2))
        return Fail(TElfObject::Malformed, "unknown ELF class or byte order");

    const int header_size = Is_64() ? 64 : 52;
    QByteArray header;
    if (!Whole(0, header_size, &header))
        return Fail(TElfObject::Too_Short, "the ELF file is too short");
    const int os_abi = static_cast<quint8>(header.at(7));
    d_object.Ident_Valid = header.at(6) == 1 && (os_abi == 0 || os_abi == 3) &&
                           header.at(8) == 0 && header.mid(9, 7) == QByteArray(7, '\0');
    d_object.Type = static_cast<quint16>(Value(header, 16, 2));
    d_object.Machine = static_cast<quint16>(Value(header, 18, 2));
    const quint64 version = Value(header, 20, 4);
    const quint64 segments = Is_64() ? Value(header, 32, 8) : Value(header, 28, 4);
    const quint64 entry_size = Value(header, Is_64() ? 54 : 42, 2);
    const quint64 count = Value(header, Is_64() ? 56 : 44, 2);
    const quint64 sections = Is_64() ? Value(header, 40, 8) : Value(header, 32, 4);
    const quint64 section_size = Value(header, Is_64() ? 58 : 46, 2);
    const quint64 section_count = Value(header, Is_64() ? 60 : 48, 2);
    d_object.Version_Valid = version == 1;
    d_object.Entry_Size_Valid = entry_size == (Is_64() ? 56u : 32u);
    d_object.Status = TElfObject::Read;
    if (!d_object.Entry_Size_Valid)
        return true;
    const quint64 section_table = section_size * section_count;
    return Read_Segments(segments, count) &&
           Check_Whole(sections > ~quint64(0) - section_table ? ~quint64(0)
                                                              : sections + section_table);
}

// The loader maps the loaded segments whatever the file's length; a file
// that ends before them, or before its section headers, was cut short.
bool TElfReader::Check_Whole(quint64 section_headers_end)
{
    quint64 end = section_headers_end;
    for (const TSegment& segment : d_segments)
    {
        if (segment.Type == Segment_Load)
            end = qMax(end, segment.Offset > ~quint64(0) - segment.File_Size
                                ? ~quint64(0)
                                : segment.Offset + segment.File_Size);
    }
    if (end <= d_bytes.Size())
        return true;
    d_object.Status = TElfObject::Cut_Short;
    d_object.Error = QString("the file is cut short: it ends at byte %1 of the %2 its headers "
                             "describe")
                         .arg(d_bytes.Size())
                         .arg(end);
    return false;
}

bool TElfReader::Read_Segments(quint64 offset, quint64 count)
{
    const quint64 entry_size = Is_64() ? 56 : 32;
    if (count == 0xffff)
        return Fail(TElfObject::Malformed, "the program-header count is stored elsewhere");
    QByteArray table;
    if (offset > ~quint64(0) - count * entry_size || !Whole(offset, count * entry_size, &table))
        return Fail(TElfObject::Malformed, "the program headers lie outside the file");
    for (quint64 index = 0; index < count; ++index)
    {
        const int at = static_cast<int>(index * entry_size);
        TSegment segment;
        segment.Type = static_cast<quint32>(Value(table, at, 4));
        segment.Offset = Is_64() ? Value(table, at + 8, 8) : Value(table, at + 4, 4);
        segment.Address = Is_64() ? Value(table, at + 16, 8) : Value(table, at + 8, 4);
        segment.File_Size = Is_64() ? Value(table, at + 32, 8) : Value(table, at + 16, 4);
        d_segments.push_back(segment);
    }
    return true;
}

bool TElfReader::Read_Interpreter()
{
    for (const TSegment& segment : d_segments)
    {
        if (segment.Type != Segment_Interpreter)
            continue;
        const QByteArray text =
            d_bytes.Read(segment.Offset, qMin(segment.File_Size, Max_Interpreter_Length));
        if (static_cast<quint64>(text.size()) < qMin(segment.File_Size, Max_Interpreter_Length))
            return Fail(TElfObject::Malformed, "the interpreter name lies outside the file");
        d_object.Interpreter = text.left(text.indexOf('\0'));
    }
    return true;
}

bool TElfReader::Read_Dynamic()
{
    const TSegment* dynamic = nullptr;
    for (const TSegment& segment : d_segments)
    {
        if (segment.Type == Segment_Dynamic)
            dynamic = &segment;
    }
    if (dynamic == nullptr)
        return true;
    d_object.Has_Dynamic = true;
    QByteArray table;
    if (dynamic->File_Size > Max_Dynamic_Size ||
        !Whole(dynamic->Offset, dynamic->File_Size, &table))
        return Fail(TElfObject::Malformed, "the dynamic section lies outside the file");

    const int entry_size = Is_64() ? 16 : 8;
    const int half = entry_size / 2;
    std::vector<TDynamicEntry> entries;
    for (int at = 0; at + entry_size <= table.size(); at += entry_size)
    {
        quint64 tag = Value(table, at, half);
        if (!Is_64())
            tag = static_cast<quint64>(static_cast<qint64>(static_cast<qint32>(tag)));
        if (tag == 0)
            break;
        entries.push_back({static_cast<qint64>(tag), Value(table, at + half, half)});
    }
    return Read_Strings(entries);
}

bool TElfReader::Read_Strings(const std::vector<TDynamicEntry>& entries)
{
    bool has_table = false;
    bool has_size = false;
    quint64 size = 0;
    for (const TDynamicEntry& entry : entries)
    {
        if (entry.Tag == Tag_String_Table)
            has_table = File_Offset(entry.Value, &d_strings, &d_strings_size);
        else if (entry.Tag == Tag_String_Table_Size)
        {
            has_size = true;
            size = entry.Value;
        }
        else if (entry.Tag == Tag_Flags_1)
            d_object.Flags_1 = entry.Value;
        else if (entry.Tag == Tag_Auxiliary || entry.Tag == Tag_Filter)
            d_object.Has_Filters = true;
    }
    if (has_size)
        d_strings_size = qMin(d_strings_size, size);
    const auto is_needed = [](const TDynamicEntry& entry) { return entry.Tag == Tag_Needed; };
    const auto needed = std::count_if(entries.begin(), entries.end(), is_needed);
    if (needed > Elf::Max_Needed)
        return Fail(TElfObject::Beyond_Limits, QString("it needs %1 libraries, more than %2")
                                                   .arg(needed)
                                                   .arg(Elf::Max_Needed));

    for (const TDynamicEntry& entry : entries)
    {
        QByteArray text;
        const bool named = entry.Tag == Tag_Needed || entry.Tag == Tag_Soname ||
                           entry.Tag == Tag_Rpath || entry.Tag == Tag_Runpath;
        if (!named)
            continue;
        if (!has_table || !Name_At(entry.Value, &text))
            return d_object.Status == TElfObject::Beyond_Limits
                       ? false
                       : Fail(TElfObject::Malformed,
                              "a name in the dynamic section lies outside the file");
        if (entry.Tag == Tag_Needed)
            d_object.Needed.append(text);
        else if (entry.Tag == Tag_Soname)
            d_object.Soname = text;
        else if (entry.Tag == Tag_Rpath)
        {
            d_object.Has_Rpath = true;
            d_object.Rpath = text;
        }
        else
        {
            d_object.Has_Runpath = true;
            d_object.Runpath = text;
        }
    }
    return true;
}

// The file offset of a loaded address, and how many bytes of that segment's
// file contents follow it.
bool TElfReader::File_Offset(quint64 address, quint64* offset, quint64* available) const
{
    for (const TSegment& segment : d_segments)
    {
        if (segment.Type != Segment_Load || address < segment.Address ||
            address - segment.Address >= segment.File_Size)
            continue;
        const quint64 into = address - segment.Address;
        if (segment.Offset > ~quint64(0) - into)
            return false;
        *offset = segment.Offset + into;
        *available = segment.File_Size - into;
        return true;
    }
    return false;
}

// Each name is read once, however many entries point at it, and all of them
// together within Elf::Max_Name_Bytes.
bool TElfReader::Name_At(quint64 offset, QByteArray* text)
{
    const auto known = d_names.constFind(offset);
    if (known != d_names.constEnd())
    {
        *text = known.value();
        return true;
    }
    if (!String_At(offset, text))
        return false;
    d_name_bytes += text->size() + 1;
    if (d_name_bytes > Elf::Max_Name_Bytes)
        return Fail(TElfObject::Beyond_Limits,
                    QString("the names in its dynamic section take more than %1 bytes")
                        .arg(Elf::Max_Name_Bytes));
    d_names.insert(offset, *text);
    return true;
}

bool TElfReader::String_At(quint64 offset, QByteArray* text) const
{
    if (offset >= d_strings_size || d_strings > ~quint64(0) - d_strings_size)
        return false;
    const quint64 limit = qMin(d_strings_size - offset, Max_String_Length);
    text->clear();
    while (static_cast<quint64>(text->size()) < limit)
    {
        const quint64 wanted = qMin<quint64>(256, limit - static_cast<quint64>(text->size()));
        const QByteArray piece = d_bytes.Read(d_strings + offset + text->size(), wanted);
        if (piece.isEmpty())
            return false;
        const int end = piece.indexOf('\0');
        if (end >= 0)
        {
            text->append(piece.left(end));
            return true;
        }
        text->append(piece);
    }
    return false;
}
}

TElfObject Read_Elf_Object(const TByteSource& bytes)
{
    TElfObject object;
    TElfReader(bytes, &object).Read();
    return object;
}

TElfObject Read_Elf_Object(const QByteArray& bytes)
{
    return Read_Elf_Object(TMemoryBytes(bytes));
}
