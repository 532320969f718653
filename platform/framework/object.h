// The root of the framework's class tree and its run-time class records: a class name, the base
// class's record and, for classes that support dynamic creation, a factory.
#pragma once

#include "platform/win/types.h"

class CObject;
class CArchive;

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();

    // A new object of the class, or nullptr when the class does not support dynamic creation.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* pBase) const {
        for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
            if (p == pBase)
                return true;
        return false;
    }
};

class CObject {
public:
    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    virtual ~CObject() = default;
    virtual void Serialize(CArchive&) {}
    bool IsKindOf(const CRuntimeClass* pClass) const {
        return GetRuntimeClass()->IsDerivedFrom(pClass);
    }

protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

inline const CRuntimeClass CObject::classCObject{"CObject", nullptr, nullptr};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name{#class_name,                                 \
                                                      RUNTIME_CLASS(base_class_name), nullptr};     \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() { return new class_name; }                                 \
    const CRuntimeClass class_name::class##class_name{                                             \
        #class_name, RUNTIME_CLASS(base_class_name), &class_name::CreateObject};                   \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }
