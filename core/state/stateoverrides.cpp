#include "state/stateoverrides.h"

void Apply_State_Overrides(TEditorState* state, const TStateOverrides& overrides)
{
    if (overrides.Generator)
        state->Options.Generator = *overrides.Generator;
    if (overrides.Requires)
        state->Options.Requires = *overrides.Requires;
    if (overrides.Description)
        state->Variables.Description = *overrides.Description;
    if (overrides.Changes)
        state->Changes = *overrides.Changes;
}

std::optional<TTypes::TOptionMakeGenerator> Generator_From_Word(const QString& word)
{
    if (word == "cmake")
        return TTypes::Generator_CMake;
    if (word == "qmake")
        return TTypes::Generator_QMake;
    return std::nullopt;
}

std::optional<TTypes::TOptionRequies> Requires_From_Word(const QString& word)
{
    if (word == "auto")
        return TTypes::Requires_Auto_Update;
    if (word == "manual")
        return TTypes::Requires_Manual_Update;
    if (word == "ignore")
        return TTypes::Requires_Ignored;
    return std::nullopt;
}
