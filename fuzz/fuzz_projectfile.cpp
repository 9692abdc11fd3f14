// libFuzzer target: any bytes as a project file, read, applied to the
// factory state and written as a spec, as `kestrelvantory-cli create
// --project` does.

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "state/editorstate.h"
#include "datafiles/specdata.h"
#include "spec/spectext.h"

// Qt makes some data on first use and keeps it to the end (the collator of
// locale-aware comparisons, for one); made here, it is not taken for a leak
// of the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Compose_Spec_Text(Spec_Input(Load_Editor_State("/nonexistent/kestrelvantory-fuzz"), {}));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A folder that does not exist gives every panel's factory contents.
    static const TEditorState factory = Load_Editor_State("/nonexistent/kestrelvantory-fuzz");
    const TSpecDataReading reading = Read_Spec_Data(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    if (!reading.Ok)
        return 0;
    TEditorState state = factory;
    Apply_Spec_Data(&state, reading.Contents);
    Compose_Spec_Text(Spec_Input(state, QStringList{"glibc"}));
    return 0;
}
