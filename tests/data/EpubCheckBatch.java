// Runs epubcheck over several books in one Java process: its start and its schemas cost
// seconds, a small book a tenth of one. As a server, one process serves all the checks of a
// test run, which would otherwise start it once per test.
//
// Usage: java -cp epubcheck.jar:CLASSES EpubCheckBatch BOOK...
// Prints "BATCH", then for each book "BOOK <its number, from 0> <exit code>" followed by what
// epubcheck's command line prints for that book alone, then "END".
//
// Usage: java -cp epubcheck.jar:CLASSES EpubCheckBatch --serve SOCKET IDLE_SECONDS
// Listens on the UNIX socket SOCKET. A client sends the paths of its books, one a line, then
// an empty line, and reads what the batch prints for them. Clients are served one at a time,
// since epubcheck reports on the process's standard streams. The server ends, removing its
// socket, once no client came for IDLE_SECONDS.

import com.adobe.epubcheck.tool.EpubChecker;
import java.io.BufferedReader;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.net.StandardProtocolFamily;
import java.net.UnixDomainSocketAddress;
import java.nio.channels.Channels;
import java.nio.channels.SelectionKey;
import java.nio.channels.Selector;
import java.nio.channels.ServerSocketChannel;
import java.nio.channels.SocketChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

public class EpubCheckBatch {
    public static void main(String[] args) throws IOException {
        if (args.length == 3 && args[0].equals("--serve")) {
            serve(Path.of(args[1]), Integer.parseInt(args[2]));
        } else {
            check(Arrays.asList(args), System.out);
        }
    }

    static void check(List<String> books, PrintStream out) {
        final PrintStream stdout = System.out;
        final PrintStream stderr = System.err;
        out.println("BATCH");
        for (int book = 0; book < books.size(); ++book) {
            // epubcheck reports on the standard streams: each book gets them to itself.
            ByteArrayOutputStream report = new ByteArrayOutputStream();
            PrintStream capture = new PrintStream(report, true, StandardCharsets.UTF_8);
            System.setOut(capture);
            System.setErr(capture);
            int code;
            try {
                code = new EpubChecker().run(new String[] {books.get(book)});
            } catch (Throwable failure) {
                failure.printStackTrace(capture);
                code = -1;
            } finally {
                System.setOut(stdout);
                System.setErr(stderr);
            }
            capture.flush();
            out.println("BOOK " + book + " " + code);
            out.print(report.toString(StandardCharsets.UTF_8));
        }
        out.println("END");
        out.flush();
    }

    static void serve(Path socket, int idleSeconds) throws IOException {
        try (ServerSocketChannel server = ServerSocketChannel.open(StandardProtocolFamily.UNIX);
             Selector selector = Selector.open()) {
            // Fails when the socket's name is taken: then another server has it.
            server.bind(UnixDomainSocketAddress.of(socket));
            try {
                listen(server, selector, idleSeconds);
            } finally {
                Files.deleteIfExists(socket);
            }
        }
    }

    static void listen(ServerSocketChannel server, Selector selector, int idleSeconds)
        throws IOException {
        server.configureBlocking(false);
        server.register(selector, SelectionKey.OP_ACCEPT);
        while (selector.select(idleSeconds * 1000L) > 0) {
            selector.selectedKeys().clear();
            SocketChannel client = server.accept();
            if (client == null) continue;
            try (client) {
                client.configureBlocking(true);
                BufferedReader in = new BufferedReader(
                    new InputStreamReader(Channels.newInputStream(client), StandardCharsets.UTF_8));
                List<String> books = new ArrayList<>();
                for (String line = in.readLine(); line != null && !line.isEmpty();
                     line = in.readLine())
                    books.add(line);
                check(books, new PrintStream(Channels.newOutputStream(client), false,
                                             StandardCharsets.UTF_8));
            } catch (IOException gone) {
                // The client went away; the next one is served all the same.
            }
        }
    }
}
