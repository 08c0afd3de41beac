#pragma once
// The bare programs' connection: an embedded attachment through the
// Firebird API alone, as SYSDBA with UTF8 text, detached at scope end.
#include <firebird/Interface.h>

#include <string>

class BareAttachment {
 public:
  explicit BareAttachment(const std::string& path)
      : master_(Firebird::fb_get_master_interface()), st(master_->getStatus()) {
    prov_ = master_->getDispatcher();
    dpb_ = master_->getUtilInterface()->getXpbBuilder(&st, Firebird::IXpbBuilder::DPB, nullptr, 0);
    dpb_->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb_->insertString(&st, isc_dpb_lc_ctype, "UTF8");
    att = prov_->attachDatabase(&st, path.c_str(), dpb_->getBufferLength(&st), dpb_->getBuffer(&st));
  }
  ~BareAttachment() {
    att->detach(&st);
    dpb_->dispose();
    prov_->release();
    st.dispose();
  }
  BareAttachment(const BareAttachment&) = delete;
  BareAttachment& operator=(const BareAttachment&) = delete;

 private:
  Firebird::IMaster* master_;

 public:
  Firebird::ThrowStatusWrapper st;
  Firebird::IAttachment* att = nullptr;

 private:
  Firebird::IProvider* prov_ = nullptr;
  Firebird::IXpbBuilder* dpb_ = nullptr;
};
