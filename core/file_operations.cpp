#include "core/file_operations.h"

namespace quorvel {

FileOperations& ActiveFileOperations() {
    static FileOperations operations = SystemFileOperations();
    return operations;
}

}  // namespace quorvel
