// Part of the statically linked braxel-calc only. spglib is built with OpenMP for its k-point
// meshes, which braxel-calc never asks for; these are the three OpenMP calls it makes, done as
// OpenMP does them with one thread, so that no OpenMP runtime (and its loader of offload
// plug-ins) is linked in.

extern "C" {

void GOMP_parallel(void (*body)(void*), void* data, unsigned /*threads*/, unsigned /*flags*/) {
  body(data);
}

int omp_get_num_threads() { return 1; }

int omp_get_thread_num() { return 0; }

}  // extern "C"
