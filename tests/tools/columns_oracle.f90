! Reference reads of column-data files, written by gfortran.
!
! Run through gen_columns_fixtures.sh, which writes the case files and the manifest
! cases.txt ("name nfcol iskip ititle iheader ldim" per line) and runs this program in the
! folder that holds them.
!
! For each case the program reads the file as the column-data reader does: the title (the
! first free-format text value of line ititle, into 50 characters, after skipping the lines
! before it), the nfcol column names (free-format text values from line iheader on, into 11
! characters each), and the data (iskip lines skipped, then at most ldim records of nfcol
! free-format reals, the record buffer cleared once before the first record). It writes
! what it got to columns_oracle.txt:
!   > name nfcol iskip ititle iheader ldim
!   title|ok, err or eof|[the 50 characters]
!   name|ok, err or eof|[11 characters] ...        (one field per column, nfcol of them)
!   row|i|hex bits of rr(1) ... rr(nfcol)          (one line per record read)
!   end|eof, err or full|record number where the read stopped (ldim + 1 when full)
! The end of the file among the lines before the title or names leaves them unread (eof).
! A status other than ok leaves the start values: title "Untitled", names "File.col.k".
program columns_oracle
  implicit none
  character(len=200) :: name
  integer :: u, uin, ios, nfcol, iskip, ititle, iheader, ldim

  open(newunit=u, file='columns_oracle.txt', status='replace', action='write')
  write(u, '(a)') '# column-data reads by gfortran: see tests/tools/columns_oracle.f90'
  open(newunit=uin, file='cases.txt', status='old', action='read')
  do
    read(uin, *, iostat=ios) name, nfcol, iskip, ititle, iheader, ldim
    if (ios /= 0) exit
    write(u, '(a,a,5(1x,i0))') '> ', trim(name), nfcol, iskip, ititle, iheader, ldim
    call one_case(u, trim(name), nfcol, iskip, ititle, iheader, ldim)
  end do
  close(uin)
  close(u)

contains

  character(len=3) function word(ios)
    integer, intent(in) :: ios
    if (ios == 0) then
      word = 'ok'
    else if (ios < 0) then
      word = 'eof'
    else
      word = 'err'
    end if
  end function

  subroutine one_case(u, file, nfcol, iskip, ititle, iheader, ldim)
    integer, intent(in) :: u, nfcol, iskip, ititle, iheader, ldim
    character(len=*), intent(in) :: file
    character(len=50) :: title
    character(len=11) :: nam(99)
    character(len=1000) :: line
    real :: rr(99)
    integer :: f, ios, i, k
    character(len=2000) :: out

    open(newunit=f, file=file, status='old', action='read')

    ! Title.
    title = 'Untitled'
    ios = 0
    do i = 1, ititle - 1
      read(f, '(a)', iostat=ios) line
      if (ios /= 0) exit
    end do
    if (ios == 0) read(f, *, iostat=ios) title
    if (ios /= 0) title = 'Untitled'
    write(u, '(a,a,a,a,a)') 'title|', trim(word(ios)), '|[', title, ']'
    rewind(f)

    ! Column names.
    do k = 1, nfcol
      write(nam(k), '(a,i0)') 'File.col.', k
    end do
    ios = 0
    do i = 1, iheader - 1
      read(f, '(a)', iostat=ios) line
      if (ios /= 0) exit
    end do
    if (ios == 0 .and. nfcol > 0) read(f, *, iostat=ios) (nam(k), k = 1, nfcol)
    out = 'name|' // trim(word(ios))
    do k = 1, nfcol
      out = trim(out) // '|[' // nam(k) // ']'
    end do
    write(u, '(a)') trim(out)
    rewind(f)

    ! Data. A file that ends among its header lines has no data: the end is met at once
    ! (a read after the end of the file would be an error here, not the end).
    ios = 0
    do i = 1, iskip
      read(f, '(a)', iostat=ios) line
      if (ios /= 0) exit
    end do
    if (ios /= 0) then
      write(u, '(a)') 'end|eof|1'
      close(f)
      return
    end if
    rr = 0.0
    ios = 0
    do i = 1, ldim
      read(f, *, iostat=ios) (rr(k), k = 1, nfcol)
      if (ios /= 0) exit
      write(out, '(a,i0,a)') 'row|', i, '|'
      do k = 1, nfcol
        if (k == 1) then
          write(out(len_trim(out) + 1:), '(z8.8)') transfer(rr(k), 0)
        else
          write(out(len_trim(out) + 1:), '(a,z8.8)') ' ', transfer(rr(k), 0)
        end if
      end do
      write(u, '(a)') trim(out)
    end do
    if (ios == 0) then
      write(u, '(a,i0)') 'end|full|', ldim + 1
    else
      write(u, '(a,a,a,i0)') 'end|', trim(word(ios)), '|', i
    end if
    close(f)
  end subroutine

end program
