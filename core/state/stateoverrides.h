#ifndef STATEOVERRIDES_H
#define STATEOVERRIDES_H

#include <QString>

#include <optional>

#include "state/editorstate.h"
#include "types.h"

// Panel settings given for one run only, on top of the stored panels and a
// project file; nothing given leaves the panel as it is.
struct TStateOverrides
{
    std::optional<TTypes::TOptionMakeGenerator> Generator;
    std::optional<TTypes::TOptionRequies> Requires;
    std::optional<QString> Description;
    std::optional<QString> Changes;  // the whole change log, lines joined by line feeds
};

void Apply_State_Overrides(TEditorState* state, const TStateOverrides& overrides);

// The words the command line uses: "cmake" or "qmake"; "auto", "manual" or
// "ignore". Anything else gives no value.
std::optional<TTypes::TOptionMakeGenerator> Generator_From_Word(const QString& word);
std::optional<TTypes::TOptionRequies> Requires_From_Word(const QString& word);

#endif
