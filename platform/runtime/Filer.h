// The filer: TReader and TWriter move components, their published properties and their custom
// stored data (DefineProperties) to and from a stream in the framework's binary stored form.
// The text form of window definitions (FormText.h) converts to and from this form.
//
// Binary form: "TPF0", then a component: [0xF0 | flags, [child position]] class name, name,
// properties (name, value) up to vaNull, owned child components up to vaNull.  Short strings are
// a length byte and bytes; numbers little-endian; vaExtended holds an 80-bit float.
//
// Sections: value types and TFiler / TReader / TWriter / stream helpers.
// Thread contract: a filer and the components it reads or writes belong to one thread.
//
// Rule for every reader of stored or received data (this reader and the DefineProperties
// handlers it calls, pictures, settings and INI files, result tables, wire protocols): refuse
// before allocating anything whose size comes from the input; bound every nesting; raise the
// reader's own error (EReadError, EInvalidGraphic, EDatabaseError, ...) for every bad input,
// never a std:: exception or a crash.
#pragma once

#include <functional>
#include <vector>

#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"

class TStream;
class TCollection;
class Variant;
struct TPropInfo;

// ============================================================================================
// value types and TFiler
// ============================================================================================

enum TValueType : uint8_t {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String
};

enum TFilerFlag : uint8_t { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag, 8>;

using TReaderProc = TEvent<TReader*>;
using TWriterProc = TEvent<TWriter*>;
using TStreamProc = TEvent<TStream*>;

class TFiler : public TObject {
  PL_CLASS(TFiler)

 public:
  explicit TFiler(TStream* Stream) : stream_(Stream) {}

  // Custom stored data of an object, stored after its published properties under Name.  The
  // reader calls ReadData when the stream holds Name; the writer writes it when HasData.
  virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  // The same with raw bytes handed over as a stream.
  virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

  TStream* Stream() const { return stream_; }
  TComponent* GetRoot() const { return root_; }
  virtual void SetRoot(TComponent* Value) { root_ = Value; }
  // The root whose components names are relative to and whose methods events are bound to.
  TComponent* LookupRoot() const { return lookupRoot_; }
  // The object being compared against when writing (nil: compare with declared defaults).
  TPersistent* GetAncestor() const { return ancestor_; }
  void SetAncestor(TPersistent* Value) { ancestor_ = Value; }
  bool GetIgnoreChildren() const { return ignoreChildren_; }
  void SetIgnoreChildren(bool Value) { ignoreChildren_ = Value; }

 protected:
  TStream* stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  bool ignoreChildren_ = false;
};

// ============================================================================================
// TReader
// ============================================================================================

// Shared by the readers of one root's definitions (a form's ancestors' and its own): Loaded waits
// for the last, and a failure frees what any of them created.
struct TReadSession {
  std::vector<TComponent*> Loaded;   // in the order first read, the root first
  std::vector<TComponent*> Created;  // in creation order
  // Clears csReading and calls Loaded once on each component.
  void Finish();
  // Frees the created components (last first) and takes the loading state off the rest.
  void Abort();
};

class TReader : public TFiler {
  PL_CLASS(TReader)

 public:
  explicit TReader(TStream* Stream) : TFiler(Stream) {}

  // Deeper nesting of components, collections or lists is refused ("Nesting too deep") rather
  // than overflowing the stack.
  static constexpr int MaxNesting = 200;

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Reads a whole stored component into Root (or into a new instance of the stored class, found
  // with FindClass, when Root is nil): its properties, then its owned components created by
  // class name, references fixed up by name, then Loaded on each, root first.  Every component
  // has csLoading and csReading while its properties are set.  On failure everything created is
  // freed and the error raised; a new root is freed too.  With a session, Loaded and the
  // clean-up are left to the session.
  TComponent* ReadRootComponent(TComponent* Root, TReadSession* Session = nullptr);
  // One component (nil: created from the stream's class name, owned by Owner).
  TComponent* ReadComponent(TComponent* Component);
  // A component's properties and children (TComponent::ReadState calls it).
  void ReadData(TComponent* Instance);
  void ReadProperty(TPersistent* AInstance);
  void ReadCollection(TCollection* Collection);  // after its vaCollection marker

  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList() { return NextValue() == vaNull; }
  void CheckValue(TValueType Value);
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, int32_t& AChildPos);
  AnsiString ReadStr();
  int32_t ReadInteger();
  int64_t ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  double ReadCurrency();
  TDateTime ReadDate();
  AnsiString ReadString();
  WideString ReadWideString();
  // vaIdent, and vaFalse, vaTrue, vaNil, vaNull as "False", "True", "nil", "Null".
  AnsiString ReadIdent();
  bool ReadBoolean();
  char ReadChar();
  // Bit mask of the element names of setType's elements.
  int64_t ReadSet(const struct TTypeInfo& setType);
  Variant ReadVariant();
  // The bytes of a vaBinary value.
  AnsiString ReadBinary();
  void SkipValue();

  TComponent* GetOwner() const { return owner_; }
  void SetOwner(TComponent* Value) { owner_ = Value; }
  TComponent* GetParent() const { return parent_; }
  void SetParent(TComponent* Value) { parent_ = Value; }
  // Where in the stream the property or component that failed began (-1: none yet).
  int64_t ErrorPosition() const { return errorPos_; }

 private:
  struct Fixup {
    TPersistent* instance;
    const TPropInfo* prop;
    AnsiString name;
    AnsiString context;  // for error messages
    TComponent* root;    // names are relative to it
    int64_t pos;
  };
  // Runs body with Session (or a session of its own, finished or aborted here), then fixes up
  // the references it read.
  TComponent* RunSession(TReadSession* Session, const std::function<TComponent*()>& body);
  TComponent* ReadComponentInSession(TComponent* Component);
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  // Counts one level of nesting for the scope it lives in.
  class Nesting {
   public:
    explicit Nesting(TReader& reader);
    ~Nesting() { --reader_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    TReader& reader_;
  };
  void Read(void* buffer, int32_t count);
  template <class T>
  T ReadRaw();
  const TClassInfo& FindComponentClass(const AnsiString& className);
  static TComponent* ResolveReference(TComponent* root, const AnsiString& name);
  void FixupReferences();
  [[noreturn]] void ReadError(const AnsiString& message);
  // Raises EReadError "Error reading <context>: <message>" once, for the innermost failure.
  [[noreturn]] void Wrap(const class Exception& e, int64_t start, const AnsiString& context);

  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  AnsiString propName_;  // the defined property being looked for
  std::vector<Fixup> fixups_;
  TReadSession* session_ = nullptr;
  int64_t errorPos_ = -1;
  int64_t propStart_ = -1;
  int depth_ = 0;  // of components, collections and lists being read
  bool errorWrapped_ = false;
};

// ============================================================================================
// TWriter
// ============================================================================================

class TWriter : public TFiler {
  PL_CLASS(TWriter)

 public:
  explicit TWriter(TStream* Stream) : TFiler(Stream) {}

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // The signature and Root with its children (GetChildren), csWriting set while it is written.
  void WriteRootComponent(TComponent* Root);
  void WriteComponent(TComponent* Component);
  // Header, properties and children of Instance (TComponent::WriteState calls it).
  void WriteData(TComponent* Instance);
  // Every stored published property that differs from its default (or from the ancestor's
  // value), then the instance's custom stored data.
  void WriteProperties(TPersistent* Instance);
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
  // The vaCollection marker, each item's properties as a list, and the end.
  void WriteCollection(TCollection* Value);

  void WriteValue(TValueType Value);
  void WriteSignature();
  void WritePrefix(TFilerFlags Flags, int32_t AChildPos);
  // A component's prefix, class name and name.  A class name of 240 characters or more gets a
  // prefix even without flags, or its length byte would read as one.
  void WriteComponentHeader(TFilerFlags Flags, int32_t AChildPos, const AnsiString& ClassName,
                            const AnsiString& Name);
  // A short string: at most 255 bytes (EWriteError beyond).
  void WriteStr(const AnsiString& Value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
  void WriteInteger(int64_t Value);
  void WriteFloat(long double Value);
  void WriteSingle(float Value);
  void WriteCurrency(double Value);
  void WriteDate(TDateTime Value);
  // vaString up to 255 bytes, vaLString beyond.
  void WriteString(const AnsiString& Value);
  void WriteWideString(const WideString& Value);
  // "False", "True", "nil" and "Null" become their own value types.
  void WriteIdent(const AnsiString& Ident);
  void WriteBoolean(bool Value);
  void WriteChar(char Value);
  void WriteBinary(const void* Data, int32_t Size);
  void WriteVariant(const Variant& Value);

  TComponent* GetRootAncestor() const { return rootAncestor_; }
  void SetRootAncestor(TComponent* Value) { rootAncestor_ = Value; }
  int64_t Position();

 private:
  void Write(const void* buffer, int32_t count);
  template <class T>
  void WriteRaw(T value);
  void WritePropName(const AnsiString& Name);
  AnsiString ComponentReference(TComponent* Component);
  // The bytes WriteCollection gives, to compare a collection with its ancestor's.
  AnsiString StoredForm(TCollection* Value);

  AnsiString propPath_;
  TComponent* rootAncestor_ = nullptr;
};

// ============================================================================================
// stream helpers
// ============================================================================================

// The framework's TStream.WriteComponent / ReadComponent: one component in the binary form; the
// reader leaves the stream just after it, so several can follow one another.  ReadComponent
// fills Instance (or a new instance of the stored class when nil).
void WriteComponent(TStream* Stream, TComponent* Instance);
TComponent* ReadComponent(TStream* Stream, TComponent* Instance);

// 80-bit extended floats as stored: 64-bit mantissa with explicit integer bit, 15-bit exponent.
void ExtendedToBytes(long double value, unsigned char bytes[10]);
long double BytesToExtended(const unsigned char bytes[10]);
