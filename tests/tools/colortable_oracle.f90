! Oracle for the colour-table files of tests/data/plot/: the same free-format (list-directed)
! reads with gfortran, one record per read. Its output for every file is kept in
! tests/data/plot/colortable_oracle.out (made with: gfortran -o ct colortable_oracle.f90; ./ct FILE).
program ct
  implicit none
  character(len=256) :: fname
  character(len=35) :: nam
  integer :: n, k, idx, ios, line
  real :: r, g, b
  call get_command_argument(1, fname)
  open(20, file=trim(fname), status='old')
  line = 1
  read(20, *, iostat=ios) n
  if (ios /= 0) then
    write(*,'(a,i4,a,i0)') 'fail line', line, ' ios ', ios
    stop
  end if
  write(*,'(a,i0)') 'n=', n
  if (n > 12) n = 12
  if (n < 1) n = 1
  idx = 0; r = 0; g = 0; b = 0
  do k = 0, n
    line = line + 1
    nam = ' '
    read(20, *, iostat=ios) idx, r, g, b, nam
    if (ios /= 0) then
      write(*,'(a,i4,a,i0)') 'fail line', line, ' ios ', ios
      stop
    end if
    write(*,'(i3,3f7.1,1x,a,a)') idx, r, g, b, '[', nam(1:8)//']'
  end do
  write(*,'(a,i4)') 'read ', n
end program
