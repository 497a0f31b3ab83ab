// Runs epubcheck over several books in one Java process: its start and its schemas cost
// seconds, a small book a tenth of one.
//
// Usage: java -cp epubcheck.jar:CLASSES EpubCheckBatch BOOK...
// Prints "BATCH", then for each book "BOOK <its number, from 0> <exit code>" followed by what
// epubcheck's command line prints for that book alone, then "END".

import com.adobe.epubcheck.tool.EpubChecker;
import java.io.ByteArrayOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;

public class EpubCheckBatch {
    public static void main(String[] args) {
        final PrintStream out = System.out;
        final PrintStream err = System.err;
        out.println("BATCH");
        for (int book = 0; book < args.length; ++book) {
            // epubcheck reports on the standard streams: each book gets them to itself.
            ByteArrayOutputStream report = new ByteArrayOutputStream();
            PrintStream capture = new PrintStream(report, true, StandardCharsets.UTF_8);
            System.setOut(capture);
            System.setErr(capture);
            int code;
            try {
                code = new EpubChecker().run(new String[] {args[book]});
            } catch (Throwable failure) {
                failure.printStackTrace(capture);
                code = -1;
            } finally {
                System.setOut(out);
                System.setErr(err);
            }
            capture.flush();
            out.println("BOOK " + book + " " + code);
            out.print(report.toString(StandardCharsets.UTF_8));
        }
        out.println("END");
        out.flush();
    }
}
