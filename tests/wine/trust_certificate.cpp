// trust_certificate.exe PEM_FILE: adds the certificate to the current user's
// root store of the Wine prefix that runs it, so that WinINet trusts the
// sample store's own certificate. Test use only: the machine's trust store
// is not touched, and a real Windows would ask the user first.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_certificate.exe PEM_FILE\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::string pem((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                            nullptr, nullptr)) {
    std::fprintf(stderr, "%s holds no PEM certificate\n", argv[1]);
    return 1;
  }
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                       nullptr);
  HCERTSTORE root = CertOpenSystemStoreA(0, "ROOT");
  if (root == nullptr) {
    std::fprintf(stderr, "cannot open the root store (%lu)\n", GetLastError());
    return 1;
  }
  BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  DWORD error = GetLastError();
  CertCloseStore(root, 0);
  if (!added) {
    std::fprintf(stderr, "cannot add the certificate (%lu)\n", error);
    return 1;
  }
  return 0;
}
