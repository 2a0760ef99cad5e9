// mbedTLS 2.28 behind TlsSession. Randomness comes from CTR-DRBG seeded by
// the library's entropy collector over the OS source.
#include "net/tls_session.h"

#include <mbedtls/ctr_drbg.h>
#include <mbedtls/ecp.h>
#include <mbedtls/entropy.h>
#include <mbedtls/md.h>
#include <mbedtls/net_sockets.h>
#include <mbedtls/ssl.h>
#include <mbedtls/ssl_ciphersuites.h>

namespace vesk {

namespace {

constexpr unsigned char kPersonal[] = "vesk tls";
// The server picks this suite; the client offers the library's whole list.
const int kServerSuites[] = {MBEDTLS_TLS_PSK_WITH_AES_128_CBC_SHA256, 0};
// An empty configuration has no hash or curve lists, and this library
// version refuses to write a client hello without them; these are its own
// default lists.
const int kSignatureHashes[] = {MBEDTLS_MD_SHA512, MBEDTLS_MD_SHA384, MBEDTLS_MD_SHA256, MBEDTLS_MD_SHA224,
                                MBEDTLS_MD_NONE};

int sendCallback(void* ctx, const unsigned char* buf, size_t len) {
    IoResult r = socketWrite(*static_cast<int*>(ctx), buf, len);
    if (r.status == IoStatus::Ok) return static_cast<int>(r.n);
    if (r.status == IoStatus::WouldBlock) return MBEDTLS_ERR_SSL_WANT_WRITE;
    return MBEDTLS_ERR_NET_SEND_FAILED;
}

int recvCallback(void* ctx, unsigned char* buf, size_t len) {
    IoResult r = socketRead(*static_cast<int*>(ctx), buf, len);
    if (r.status == IoStatus::Ok) return static_cast<int>(r.n);
    if (r.status == IoStatus::Closed) return 0;
    if (r.status == IoStatus::WouldBlock) return MBEDTLS_ERR_SSL_WANT_READ;
    return MBEDTLS_ERR_NET_RECV_FAILED;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

struct TlsSession::Impl {
    mbedtls_entropy_context entropy;
    mbedtls_ctr_drbg_context drbg;
    mbedtls_ssl_config conf;
    mbedtls_ssl_context ssl;
    TlsPsk psk;
    int fd = -1;
    bool usable = false;
    bool done = false;
    int lastError = 0;

    Impl() {
        mbedtls_entropy_init(&entropy);
        mbedtls_ctr_drbg_init(&drbg);
        mbedtls_ssl_config_init(&conf);
        mbedtls_ssl_init(&ssl);
    }
    ~Impl() {
        mbedtls_ssl_free(&ssl);
        mbedtls_ssl_config_free(&conf);
        mbedtls_ctr_drbg_free(&drbg);
        mbedtls_entropy_free(&entropy);
    }

    bool seed() {
        return mbedtls_ctr_drbg_seed(&drbg, mbedtls_entropy_func, &entropy, kPersonal,
                                     sizeof kPersonal - 1) == 0;
    }

    // What both ends share: TLS 1.2 only over a stream, the key, the
    // random source.
    bool common(int endpoint) {
        mbedtls_ssl_conf_endpoint(&conf, endpoint);
        mbedtls_ssl_conf_transport(&conf, MBEDTLS_SSL_TRANSPORT_STREAM);
        mbedtls_ssl_conf_min_version(&conf, MBEDTLS_SSL_MAJOR_VERSION_3, MBEDTLS_SSL_MINOR_VERSION_3);
        mbedtls_ssl_conf_max_version(&conf, MBEDTLS_SSL_MAJOR_VERSION_3, MBEDTLS_SSL_MINOR_VERSION_3);
        mbedtls_ssl_conf_rng(&conf, mbedtls_ctr_drbg_random, &drbg);
        return mbedtls_ssl_conf_psk(&conf, psk.key.data(), psk.key.size(),
                                    reinterpret_cast<const unsigned char*>(psk.identity.data()),
                                    psk.identity.size()) == 0;
    }

    bool finish() {
        if (mbedtls_ssl_setup(&ssl, &conf) != 0) return false;
        mbedtls_ssl_set_bio(&ssl, &fd, sendCallback, recvCallback, nullptr);
        return true;
    }

    IoResult fromReturn(int r, IoStatus onZero) {
        if (r > 0) return {IoStatus::Ok, static_cast<size_t>(r)};
        if (r == 0) return {onZero, 0};
        if (r == MBEDTLS_ERR_SSL_WANT_READ || r == MBEDTLS_ERR_SSL_WANT_WRITE) return {IoStatus::WouldBlock, 0};
        lastError = r;
        if (r == MBEDTLS_ERR_SSL_PEER_CLOSE_NOTIFY) return {IoStatus::Closed, 0};
        return {IoStatus::Error, 0};
    }
};

TlsPsk variantPsk(Variant v) {
    const VariantInfo& info = variantInfo(v);
    return {std::string(info.pskIdentity), bytesFromHex(info.pskKeyHex)};
}

std::vector<uint8_t> bytesFromHex(std::string_view hex) {
    std::vector<uint8_t> out;
    if (hex.size() % 2 != 0) return out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return {};
        out.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return out;
}

TlsSession::TlsSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TlsSession::~TlsSession() = default;

std::unique_ptr<TlsSession> TlsSession::remoteClient(Variant v) {
    auto impl = std::make_unique<Impl>();
    impl->psk = variantPsk(v);
    bool ok = impl->seed();
    // ORVENA starts from an empty configuration, so encrypt-then-MAC and
    // the extended master secret stay off; KESTRALO takes the library's
    // client defaults first, which turn both on.
    if (ok && isKestralo(v)) {
        ok = mbedtls_ssl_config_defaults(&impl->conf, MBEDTLS_SSL_IS_CLIENT, MBEDTLS_SSL_TRANSPORT_STREAM,
                                         MBEDTLS_SSL_PRESET_DEFAULT) == 0;
    } else if (ok) {
        mbedtls_ssl_conf_sig_hashes(&impl->conf, kSignatureHashes);
        mbedtls_ssl_conf_curves(&impl->conf, mbedtls_ecp_grp_id_list());
    }
    if (ok) ok = impl->common(MBEDTLS_SSL_IS_CLIENT);
    if (ok) {
        mbedtls_ssl_conf_ciphersuites(&impl->conf, mbedtls_ssl_list_ciphersuites());
        ok = mbedtls_ssl_conf_max_frag_len(&impl->conf, MBEDTLS_SSL_MAX_FRAG_LEN_512) == 0;
        // Every suite is offered, but one that needs a server certificate
        // can never complete: no trust anchor is configured and
        // verification is required, so only the key authenticates a server.
        mbedtls_ssl_conf_authmode(&impl->conf, MBEDTLS_SSL_VERIFY_REQUIRED);
    }
    impl->usable = ok && impl->finish();
    return std::unique_ptr<TlsSession>(new TlsSession(std::move(impl)));
}

std::unique_ptr<TlsSession> TlsSession::pskServer(const TlsPsk& psk) {
    auto impl = std::make_unique<Impl>();
    impl->psk = psk;
    bool ok = impl->seed() &&
              mbedtls_ssl_config_defaults(&impl->conf, MBEDTLS_SSL_IS_SERVER, MBEDTLS_SSL_TRANSPORT_STREAM,
                                          MBEDTLS_SSL_PRESET_DEFAULT) == 0 &&
              impl->common(MBEDTLS_SSL_IS_SERVER);
    if (ok) mbedtls_ssl_conf_ciphersuites(&impl->conf, kServerSuites);
    impl->usable = ok && impl->finish();
    return std::unique_ptr<TlsSession>(new TlsSession(std::move(impl)));
}

bool TlsSession::usable() const { return impl_->usable; }

void TlsSession::attach(int fd) { impl_->fd = fd; }

TlsStep TlsSession::handshakeStep() {
    if (!impl_->usable) return TlsStep::Failed;
    int r = mbedtls_ssl_handshake(&impl_->ssl);
    if (r == 0) {
        impl_->done = true;
        return TlsStep::Done;
    }
    if (r == MBEDTLS_ERR_SSL_WANT_READ) return TlsStep::WantRead;
    if (r == MBEDTLS_ERR_SSL_WANT_WRITE) return TlsStep::WantWrite;
    impl_->lastError = r;
    return TlsStep::Failed;
}

bool TlsSession::handshakeDone() const { return impl_->done; }

IoResult TlsSession::read(uint8_t* buf, size_t n) {
    return impl_->fromReturn(mbedtls_ssl_read(&impl_->ssl, buf, n), IoStatus::Closed);
}

IoResult TlsSession::write(const uint8_t* buf, size_t n) {
    return impl_->fromReturn(mbedtls_ssl_write(&impl_->ssl, buf, n), IoStatus::WouldBlock);
}

bool TlsSession::pending() const { return mbedtls_ssl_get_bytes_avail(&impl_->ssl) > 0; }

void TlsSession::reset() {
    mbedtls_ssl_session_reset(&impl_->ssl);
    impl_->done = false;
    impl_->fd = -1;
}

std::string TlsSession::cipherSuite() const {
    if (!impl_->done) return {};
    const char* name = mbedtls_ssl_get_ciphersuite(&impl_->ssl);
    return name ? name : "";
}

int TlsSession::lastError() const { return impl_->lastError; }

}  // namespace vesk
