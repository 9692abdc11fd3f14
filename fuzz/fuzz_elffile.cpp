// libFuzzer target: any bytes as an ELF file, read as the loader's rules
// read a program, a library or a plug-in before anything is bundled.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "elf/elfobject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TElfObject object =
        Read_Elf_Object(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    // Whatever the bytes say, a file read holds no more than the bounds allow.
    if (object.Is_Read() && object.Needed.size() > Elf::Max_Needed)
        __builtin_trap();
    return 0;
}
