// Declaring persistent fields from tables of specs: name, kind, size, display
// label (empty: the field name) and display format. Used by the data module.
#pragma once

#include <initializer_list>

#include "engine/dataset/dataset.h"

namespace kashidashi {

struct FieldSpec {
    const char* name;
    engine::FieldType type;
    int size = 0;
    const char* label = "";
    const char* format = "";
};

// A field of the kind class that reads the type (TIntegerField for Integer...).
engine::TField& AddTypedField(engine::TDataSet& dataSet, engine::FieldType type, const char* name,
                              int size);
engine::TField& AddField(engine::TDataSet& dataSet, const FieldSpec& declared);
void AddFields(engine::TDataSet& dataSet, std::initializer_list<FieldSpec> specs);
// A computed text field that the data set's OnCalcFields handler fills.
void AddCalculatedField(engine::TDataSet& dataSet, const char* name, int size, const char* label);
// prefix + 1 ... prefix + 10 ("S1" ... "S10"), of one kind.
void AddNumberedFields(engine::TDataSet& dataSet, const char* prefix, engine::FieldType type,
                       int size);

}  // namespace kashidashi
